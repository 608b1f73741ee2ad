// The SNMP module: Net-SNMP's single-session API (snmp_sess_*), one session per printer so that
// the fleet's workers never share one. SNMP v2c; the agent's silence (as a wrong community gets)
// is a timeout. A request is sent and waited for as snmp_sess_synch_response would, but in
// slices of a tenth of a second, so that the user's Ctrl-C ends it.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <sys/select.h>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/snmp/snmp_module.h"

namespace quorvel::snmp {
namespace {

void SetError(ModuleError* error, const std::string& text) {
  std::snprintf(error->text, sizeof error->text, "%s", text.c_str());
}

// The library reads no configuration or MIB files and writes no state: the module only ever
// asks numeric OIDs.
void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_set_mib_directory("");
    setenv("MIBS", "", 0);
    snmp_disable_log();
    init_snmp("quorvel");
  });
}

bool ParseOid(const char* text, oid* name, std::size_t* length) {
  std::size_t count = 0;
  const char* at = text;
  while (*at != '\0') {
    if (*at == '.') {
      ++at;
      continue;
    }
    char* end = nullptr;
    const unsigned long part = std::strtoul(at, &end, 10);
    if (end == at || count == MAX_OID_LEN) {
      return false;
    }
    name[count++] = static_cast<oid>(part);
    at = end;
  }
  *length = count;
  return count > 0;
}

void OidText(const oid* name, std::size_t length, char* out, std::size_t size) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    text += (i == 0 ? "" : ".") + std::to_string(name[i]);
  }
  std::snprintf(out, size, "%s", text.c_str());
}

constexpr long kSliceMicroseconds = 100000;

// A session as the module hands it out: Net-SNMP's, until a request the user stopped closed it.
struct Session {
  void* handle = nullptr;
};

// What a request's callback found.
struct Reply {
  bool done = false;
  int status = STAT_ERROR;
  netsnmp_pdu* pdu = nullptr;  // a copy of the response, the caller's to free
};

int OnReply(int operation, netsnmp_session* /*session*/, int /*request*/, netsnmp_pdu* pdu,
            void* magic) {
  Reply& reply = *static_cast<Reply*>(magic);
  if (operation == NETSNMP_CALLBACK_OP_RESEND) {
    return 1;  // a retry went out: the request goes on
  }
  reply.done = true;
  if (operation == NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE && pdu != nullptr) {
    reply.status = STAT_SUCCESS;
    reply.pdu = snmp_clone_pdu(pdu);
  } else {
    reply.status = operation == NETSNMP_CALLBACK_OP_TIMED_OUT ? STAT_TIMEOUT : STAT_ERROR;
  }
  return 1;
}

constexpr int kStoppedStatus = -100;

// Sends `request` (which it takes) and waits for the answer, its retries and its time-out as
// Net-SNMP's own synchronous call does, looking at `stopped` at least ten times a second. A stop
// closes the session while `reply` still lives, so that nothing is left to answer into it.
int Exchange(Session& session, netsnmp_pdu* request, netsnmp_pdu** response, int (*stopped)(void*),
             void* context) {
  Reply reply;
  if (snmp_sess_async_send(session.handle, request, &OnReply, &reply) == 0) {
    snmp_free_pdu(request);
    return STAT_ERROR;
  }
  while (!reply.done) {
    if (stopped != nullptr && stopped(context) != 0) {
      snmp_sess_close(session.handle);
      session.handle = nullptr;
      return kStoppedStatus;
    }
    int fds = 0;
    int block = 1;
    fd_set readable;
    FD_ZERO(&readable);
    timeval timeout{};
    snmp_sess_select_info(session.handle, &fds, &readable, &timeout, &block);
    if (block != 0 || timeout.tv_sec > 0 || timeout.tv_usec > kSliceMicroseconds) {
      timeout = {0, kSliceMicroseconds};
    }
    const int count = select(fds, &readable, nullptr, nullptr, &timeout);
    if (count > 0) {
      snmp_sess_read(session.handle, &readable);
    } else if (count == 0) {
      snmp_sess_timeout(session.handle);  // resends or times out what is due, nothing else
    }
    // count < 0: a signal (Ctrl-C) came first; `stopped` is looked at again.
  }
  *response = reply.pdu;
  return reply.status;
}

void* Open(const char* peer, const char* community, long timeoutMs, int retries,
           ModuleError* error) {
  try {
    StartLibrary();
    netsnmp_session settings;
    snmp_sess_init(&settings);
    std::string peerName = peer;
    std::string communityText = community;
    settings.peername = peerName.data();
    settings.version = SNMP_VERSION_2c;
    settings.community = reinterpret_cast<u_char*>(communityText.data());
    settings.community_len = communityText.size();
    settings.timeout = timeoutMs * 1000;
    settings.retries = retries;
    void* handle = snmp_sess_open(&settings);  // copies what it keeps
    if (handle == nullptr) {
      char* text = nullptr;
      int libraryError = 0;
      int systemError = 0;
      snmp_error(&settings, &libraryError, &systemError, &text);
      SetError(error, text != nullptr ? text : "cannot open an SNMP session");
      free(text);
      return nullptr;
    }
    return new Session{handle};
  } catch (...) {
    SetError(error, "cannot open an SNMP session");
    return nullptr;
  }
}

int Get(void* opened, const char* oidText, int next, ModuleValue* value, ModuleError* error,
        int (*stopped)(void*), void* context) {
  Session& own = *static_cast<Session*>(opened);
  if (own.handle == nullptr) {
    SetError(error, "stopped waiting (Ctrl-C) before the agent answered");
    return -1;
  }
  oid name[MAX_OID_LEN];
  std::size_t length = 0;
  if (!ParseOid(oidText, name, &length)) {
    SetError(error, std::string("not a numeric OID: ") + oidText);
    return -1;
  }
  netsnmp_pdu* request = snmp_pdu_create(next != 0 ? SNMP_MSG_GETNEXT : SNMP_MSG_GET);
  snmp_add_null_var(request, name, length);
  netsnmp_pdu* response = nullptr;
  const int status = Exchange(own, request, &response, stopped, context);
  void* session = own.handle;
  value->kind = 0;
  value->number = 0;
  value->length = 0;
  value->name[0] = '\0';
  int result = 0;
  if (status == kStoppedStatus) {
    SetError(error, "stopped waiting (Ctrl-C) before the agent answered");
    result = -1;
  } else if (status == STAT_TIMEOUT) {
    SetError(error,
             "no answer from the printer's SNMP agent (is it on, and is the community "
             "right?)");
    result = -1;
  } else if (status != STAT_SUCCESS || response == nullptr) {
    char* text = nullptr;
    snmp_sess_error(session, nullptr, nullptr, &text);
    SetError(error, text != nullptr ? text : "the SNMP request failed");
    free(text);
    result = -1;
  } else if (response->errstat == SNMP_ERR_NOSUCHNAME) {
    result = 0;  // SNMP v1's way of saying there is no such object (or none after it)
  } else if (response->errstat != SNMP_ERR_NOERROR) {
    SetError(error, std::string("the agent answered: ") + snmp_errstring(response->errstat));
    result = -1;
  } else if (const netsnmp_variable_list* variable = response->variables) {
    OidText(variable->name, variable->name_length, value->name, sizeof value->name);
    switch (variable->type) {
      case ASN_INTEGER:
        value->kind = 1;
        value->number = *variable->val.integer;
        break;
      case ASN_COUNTER:
      case ASN_GAUGE:
      case ASN_TIMETICKS:
        value->kind = 1;
        value->number = static_cast<long long>(static_cast<unsigned long>(*variable->val.integer) &
                                               0xFFFFFFFFul);
        break;
      case ASN_COUNTER64:
        value->kind = 1;
        value->number = static_cast<long long>(
            (static_cast<unsigned long long>(variable->val.counter64->high) << 32) |
            variable->val.counter64->low);
        break;
      case ASN_OCTET_STR:
        value->kind = 2;
        value->length = std::min(variable->val_len, kModuleTextSize);
        std::memcpy(value->text, variable->val.string, value->length);
        break;
      default:
        break;  // no such object or instance, the end of the MIB view, or another type
    }
  }
  if (response != nullptr) {
    snmp_free_pdu(response);
  }
  return result;
}

void Close(void* opened) {
  const Session* own = static_cast<Session*>(opened);
  if (own != nullptr && own->handle != nullptr) {
    snmp_sess_close(own->handle);
  }
  delete own;
}

constexpr Module kModule{kModuleVersion, sizeof(ModuleValue), &Open, &Get, &Close};

}  // namespace
}  // namespace quorvel::snmp

extern "C" __attribute__((visibility("default"))) const quorvel::snmp::Module*
quorvel_snmp_module() {
  return &quorvel::snmp::kModule;
}
