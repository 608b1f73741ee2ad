#pragma once

#include "common/messages.h"

namespace quorvel::qt {

/// Marks a window busy while a job is being sent: sets `busy` and shows the wait cursor until
/// Release() or the end of the scope; `busy` stays set until the end of the scope.
class BusyScope {
 public:
  explicit BusyScope(bool& busy);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  /// Gives the normal cursor back (the job is done, a message follows).
  void Release();

 private:
  bool& busy_;
  bool cursorShown_ = true;
};

/// Passes messages on, first giving the normal cursor back: the user answers a box with the
/// ordinary arrow.
class ReleasingMessageDisplay : public MessageDisplay {
 public:
  ReleasingMessageDisplay(BusyScope& scope, MessageDisplay& messages)
      : scope_(scope), messages_(messages) {}
  void Show(std::string_view text) override;

 private:
  BusyScope& scope_;
  MessageDisplay& messages_;
};

}  // namespace quorvel::qt
