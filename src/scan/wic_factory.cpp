#include "scan/wic_factory.h"

namespace quorvel::scan {

IWICImagingFactory* ImagingFactory() {
  static IWICImagingFactory* const factory = [] {
    // Already set up in another mode (S_FALSE, RPC_E_CHANGED_MODE) serves as well.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    IWICImagingFactory* made = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(&made)))) {
      return static_cast<IWICImagingFactory*>(nullptr);
    }
    return made;
  }();
  return factory;
}

}  // namespace quorvel::scan
