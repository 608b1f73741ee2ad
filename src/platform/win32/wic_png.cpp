// PNG files through the Windows Imaging Component's encoder: no image library of our own.

#include "platform/win32/wic_png.h"

#include "common/utf8_path.h"
#include "platform/win32/com_ptr.h"
#include "platform/win32/win32_error.h"

#include <wincodec.h>

namespace quorvel::win32 {
namespace {

// The first failed step, named with the system's reason; later steps are skipped.
class Steps {
 public:
  // The name in UTF-8, whatever characters it holds (string() would take the ANSI code page).
  explicit Steps(const std::filesystem::path& file) {
    file_ = Utf8FromPath(file);
  }
  bool Do(HRESULT result, const char* step) {
    if (failure_.empty() && FAILED(result)) {
      failure_ =
          "cannot write " + file_ + " (" + step + "): " + SystemMessage(static_cast<DWORD>(result));
    }
    return failure_.empty();
  }
  bool Fail(const std::string& why) {
    failure_ = "cannot write " + file_ + ": " + why;
    return false;
  }
  const std::string& Failure() const { return failure_; }

 private:
  std::string file_;
  std::string failure_;
};

// Opens the file and starts a PNG encoder with one frame on it.
bool StartFrame(IWICImagingFactory& factory, const std::filesystem::path& file, Steps& steps,
                ComPtr<IWICStream>& stream, ComPtr<IWICBitmapEncoder>& encoder,
                ComPtr<IWICBitmapFrameEncode>& frame) {
  ComPtr<IPropertyBag2> options;
  return steps.Do(factory.CreateStream(stream.Put()), "stream") &&
         steps.Do(stream->InitializeFromFilename(file.wstring().c_str(), GENERIC_WRITE),
                  "create") &&
         steps.Do(factory.CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put()),
                  "PNG encoder") &&
         steps.Do(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache), "encoder") &&
         steps.Do(encoder->CreateNewFrame(frame.Put(), options.Put()), "frame") &&
         steps.Do(frame->Initialize(options.Get()), "frame");
}

}  // namespace

std::string WritePng(const std::filesystem::path& file, int width, int height, int stride,
                     int bytesPerPixel, const unsigned char* pixels, double dpi) {
  Steps steps(file);
  if (bytesPerPixel != 1 && bytesPerPixel != 4) {
    steps.Fail("only 8-bit grey or 32-bit BGRA rows are written");
    return steps.Failure();
  }
  ComSession com;
  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  if (!steps.Do(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, factory.PutVoid()),
                "imaging component") ||
      !StartFrame(*factory.Get(), file, steps, stream, encoder, frame)) {
    return steps.Failure();
  }
  const GUID wanted =
      bytesPerPixel == 1 ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat32bppBGRA;
  WICPixelFormatGUID format = wanted;
  if (steps.Do(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height)), "size") &&
      steps.Do(frame->SetResolution(dpi, dpi), "resolution") &&
      steps.Do(frame->SetPixelFormat(&format), "pixel format") &&
      (IsEqualGUID(format, wanted) || steps.Fail("the PNG encoder takes no such pixel format")) &&
      steps.Do(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(stride),
                                  static_cast<UINT>(stride) * static_cast<UINT>(height),
                                  const_cast<BYTE*>(pixels)),
               "rows") &&
      steps.Do(frame->Commit(), "frame") && steps.Do(encoder->Commit(), "file")) {
    return {};
  }
  return steps.Failure();
}

}  // namespace quorvel::win32
