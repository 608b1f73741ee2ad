#pragma once

#include <cstddef>

// What the SNMP module (quorvel_snmp, loaded only when --snmp is given, so that no other command
// loads Net-SNMP and its TLS libraries) offers. Only plain data crosses: fixed buffers, no
// allocation or exception of one side reaches the other.

namespace quorvel::snmp {

inline constexpr std::size_t kModuleTextSize = 4096;
inline constexpr std::size_t kModuleNameSize = 256;

struct ModuleValue {
  int kind;  // 0 missing, 1 number, 2 octets
  long long number;
  std::size_t length;  // of `text`, cut to kModuleTextSize
  char text[kModuleTextSize];
  char name[kModuleNameSize];  // the object's OID, numeric, for a Next
};

struct ModuleError {
  char text[512];
};

struct Module {
  int version;
  std::size_t valueSize;
  /// A session with `peer` ("udp:HOST:PORT"); null with `error` filled in on failure.
  void* (*open)(const char* peer, const char* community, long timeoutMs, int retries,
                ModuleError* error);
  /// GET (next == 0) or GETNEXT of `oid`; 0 on success, else -1 with `error` filled in. The
  /// request ends within a tenth of a second of `stopped(context)` (when given) returning
  /// non-zero, and the session then answers no further request.
  int (*get)(void* session, const char* oid, int next, ModuleValue* value, ModuleError* error,
             int (*stopped)(void* context), void* context);
  void (*close)(void* session);
};

inline constexpr int kModuleVersion = 2;
inline constexpr char kModuleEntry[] = "quorvel_snmp_module";
using ModuleEntry = const Module* (*)();

}  // namespace quorvel::snmp
