#include "gui/win32/application.h"

#include "gui/win32/resource_ids.h"
#include "platform/platform.h"
#include "platform/win32/win32_error.h"

namespace quorvel::win32 {

Application::Application()
    : printerList_(platform::MakePrinterList()), spooler_(platform::MakeSpooler()) {
  icon_.Reset(
      static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVEL),
                                      IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
  DesignedWindow::RegisterClass(Form1::kClassName, icon_.Get());
  DesignedWindow::RegisterClass(AboutWindow::kClassName, nullptr);
  // The About window's owner: never shown, it keeps that window off the task bar.
  hiddenOwner_.Reset(::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                       ::GetModuleHandleA(nullptr), nullptr));
  if (!hiddenOwner_) {
    ThrowLastError("CreateWindow (owner of the About window)");
  }
  form1_ = std::make_unique<Form1>(*this, *printerList_, *spooler_, messages_);
  form1_->ShowCentred();
}

Application::~Application() {
  about_.reset();
  form1_.reset();
}

int Application::Run() {
  MSG message{};
  for (;;) {
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) {
      return static_cast<int>(message.wParam);
    }
    if (got == -1) {
      ThrowLastError("GetMessage");
    }
    HWND about = about_ ? about_->Handle() : nullptr;
    HWND form1 = form1_ ? form1_->Handle() : nullptr;
    if ((about != nullptr && ::IsDialogMessageA(about, &message)) ||
        (form1 != nullptr && ::IsDialogMessageA(form1, &message))) {
      continue;
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

void Application::ShowAbout() {
  if (about_ && about_->Handle() == nullptr) {
    about_.reset();  // closed since the last request: the next one starts afresh
  }
  if (about_) {
    ::ShowWindow(about_->Handle(), SW_SHOWNORMAL);
    ::SetForegroundWindow(about_->Handle());
    return;
  }
  AboutServices services{registry_, files_, processes_, classicBrowser_, defaultBrowser_};
  about_ = std::make_unique<AboutWindow>(*this, services, messages_, hiddenOwner_.Get());
  about_->ShowCentred();
}

void Application::Exit() {
  if (about_ && about_->Handle() != nullptr) {
    ::DestroyWindow(about_->Handle());
  }
  if (form1_ && form1_->Handle() != nullptr) {
    ::DestroyWindow(form1_->Handle());
  }
  ::PostQuitMessage(0);
}

bool Application::AnyWindowOpen() const {
  return (form1_ && form1_->Handle() != nullptr) || (about_ && about_->Handle() != nullptr);
}

void Application::WindowClosed() {
  if (!AnyWindowOpen()) {
    ::PostQuitMessage(0);
  }
}

}  // namespace quorvel::win32
