// The reading of scan files into grey pictures on Windows, through the Windows Imaging Component:
// PNG, JPEG, TIFF and BMP everywhere, HEIF and WebP where the system has their codecs. PDF is not
// read here; the message names the picture formats that are.

#include <initguid.h>  // the imaging component's GUIDs are defined in this file

#include "common/utf8_path.h"
#include "platform/win32/win32_api.h"  // before the COM headers, which include windows.h

#include <wincodec.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/win32/com_ptr.h"
#include "scan/jpeg_orientation.h"
#include "scan/luminance.h"
#include "scan/picture_pages.h"
#include "scan/png_resolution.h"
#include "scan/wic_factory.h"

namespace quorvel::scan {
namespace {

using win32::ComPtr;

// Rows converted this many at a time where the converter gives no 8-bit grey: only a strip,
// never the whole picture, passes through the 32-bit form.
constexpr int kStripRows = 64;

bool StartsWith(const std::filesystem::path& file, const char* magic, std::size_t length) {
  std::ifstream in(file, std::ios::binary);
  std::string head(length, '\0');
  return in.read(head.data(), static_cast<std::streamsize>(length)) &&
         head.compare(0, length, magic) == 0;
}

// The resolution the file states. A PNG's is read from its pHYs chunk, as the Linux build reads
// it (0 when there is none); the imaging component says 96 there.
double StatedDpi(IWICBitmapFrameDecode& frame, const std::filesystem::path& file, bool png) {
  if (png) {
    std::ifstream in(file, std::ios::binary);
    return PngStatedDpi(in);
  }
  double x = 0, y = 0;
  return SUCCEEDED(frame.GetResolution(&x, &y)) ? x : 0;
}

// The EXIF orientation (1 to 8) a JPEG or TIFF frame states; 1 when it states none. Asked of
// the imaging component, then, for a JPEG, read from the file (Wine's decoder reads no JPEG
// metadata).
int Orientation(IWICBitmapFrameDecode& frame, const std::filesystem::path& file, bool jpeg) {
  ComPtr<IWICMetadataQueryReader> query;
  if (SUCCEEDED(frame.GetMetadataQueryReader(query.Put()))) {
    for (const wchar_t* name : {L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}"}) {
      PROPVARIANT value;
      PropVariantInit(&value);
      const bool found = SUCCEEDED(query->GetMetadataByName(name, &value)) && value.vt == VT_UI2;
      const int orientation = found ? value.uiVal : 0;
      PropVariantClear(&value);
      if (orientation >= 1 && orientation <= 8) {
        return orientation;
      }
    }
  }
  std::ifstream in(file, std::ios::binary);
  return jpeg ? JpegOrientation(in) : 1;
}

// The picture as it is to be seen, for an EXIF orientation: 2 mirrored, 3 half a turn, 4 upside
// down mirrored, 5 mirrored across the diagonal, 6 a quarter turn clockwise, 7 the other
// diagonal, 8 a quarter turn anticlockwise.
GreyPicture Oriented(GreyPicture stored, int orientation) {
  if (orientation <= 1 || orientation > 8 || stored.empty()) {
    return stored;
  }
  const bool swap = orientation >= 5;
  const int w = stored.width(), h = stored.height();
  GreyPicture seen(swap ? h : w, swap ? w : h, stored.dpi);
  if (seen.empty()) {
    return seen;
  }
  for (int y = 0; y < seen.height(); ++y) {
    std::uint8_t* out = seen.row(y);
    for (int x = 0; x < seen.width(); ++x) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2:
          sx = w - 1 - x;
          break;
        case 3:
          sx = w - 1 - x;
          sy = h - 1 - y;
          break;
        case 4:
          sy = h - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y;
          sy = h - 1 - x;
          break;
        default:
          sx = w - 1 - y;
          sy = x;
          break;  // 8
      }
      out[x] = stored.at(sx, sy);
    }
  }
  return seen;
}

// The source's dots as grey into `grey`: copied as they are from an 8-bit grey source, else
// turned by the converter into 32-bit BGRA a strip at a time (never a full-size copy), and each
// dot weighted as the Linux build weighs it (`levels`), so that both builds see the same greys:
// Wine's converter to 8-bit grey weighs otherwise, and has no route from 1-bit grey.
bool CopyGrey(IWICImagingFactory& factory, IWICBitmapSource& source, const GreyLevels& levels,
              GreyPicture& grey) {
  const UINT width = static_cast<UINT>(grey.width());
  WICPixelFormatGUID format{};
  if (SUCCEEDED(source.GetPixelFormat(&format)) && format == GUID_WICPixelFormat8bppGray) {
    return SUCCEEDED(
        source.CopyPixels(nullptr, width, static_cast<UINT>(grey.size()), grey.data()));
  }
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(factory.CreateFormatConverter(converter.Put())) ||
      FAILED(converter->Initialize(&source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom))) {
    return false;
  }
  std::vector<BYTE> strip(static_cast<std::size_t>(width) * 4 * kStripRows);
  for (int top = 0; top < grey.height(); top += kStripRows) {
    const int rows = std::min(kStripRows, grey.height() - top);
    const WICRect rect{0, top, static_cast<INT>(width), rows};
    if (FAILED(converter->CopyPixels(&rect, width * 4, static_cast<UINT>(strip.size()),
                                     strip.data()))) {
      return false;
    }
    for (int y = 0; y < rows; ++y) {
      const BYTE* in = strip.data() + static_cast<std::size_t>(y) * width * 4;
      std::uint8_t* out = grey.row(top + y);
      for (UINT x = 0; x < width; ++x, in += 4) {
        out[x] = levels.Of(in[2], in[1], in[0]);
      }
    }
  }
  return true;
}

bool IsColour(IWICBitmapSource& source) {
  WICPixelFormatGUID format{};
  source.GetPixelFormat(&format);
  return format != GUID_WICPixelFormat8bppGray && format != GUID_WICPixelFormatBlackWhite &&
         format != GUID_WICPixelFormat16bppGray && format != GUID_WICPixelFormat8bppIndexed &&
         format != GUID_WICPixelFormat4bppGray && format != GUID_WICPixelFormat2bppGray;
}

// One frame of the file, checked for size first and scaled down when it is very large.
std::string ReadFrame(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame,
                      const std::filesystem::path& file, const GUID& container,
                      const PageTaker& take) {
  const bool png = container == GUID_ContainerFormatPng;
  UINT width = 0, height = 0;
  if (FAILED(frame.GetSize(&width, &height)) || width == 0 || height == 0) {
    return "the picture has no size";
  }
  if (width > kMaxSidePixels || height > kMaxSidePixels) {
    return SizeRefused(width, height);
  }
  const double shrink = ReadScale(static_cast<long long>(width) * height, IsColour(frame));
  IWICBitmapSource* source = &frame;
  ComPtr<IWICBitmapScaler> scaler;
  if (shrink < 1) {
    width = static_cast<UINT>(width * shrink);
    height = static_cast<UINT>(height * shrink);
    if (FAILED(factory.CreateBitmapScaler(scaler.Put())) ||
        FAILED(scaler->Initialize(&frame, width, height, WICBitmapInterpolationModeFant))) {
      return "the picture cannot be scaled down";
    }
    source = scaler.Get();
  }
  GreyPicture grey(static_cast<int>(width), static_cast<int>(height),
                   StatedDpi(frame, file, png) * shrink);
  if (grey.empty()) {
    return "no memory for the picture";
  }
  // Colour PNGs are turned to grey by libpng on Linux, the other pictures by Qt.
  static const GreyLevels qtLevels(kQtWeights), libpngLevels(kLibpngWeights);
  if (!CopyGrey(factory, *source, png ? libpngLevels : qtLevels, grey)) {
    return "the picture cannot be decoded";
  }
  grey = Oriented(std::move(grey), Orientation(frame, file, container == GUID_ContainerFormatJpeg));
  if (grey.empty()) {
    return "no memory for the picture";
  }
  take(grey);
  return {};
}

}  // namespace

void EnsureApplication() {
  ImagingFactory();
}

std::string ReadPicturePages(const std::string& path, const PageTaker& take) {
  const std::filesystem::path file = PathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    return "no such file";
  }
  if (std::filesystem::is_directory(file, error)) {
    return "a folder, not a picture";
  }
  if (StartsWith(file, "%PDF-", 5)) {
    return "PDF scans are not read on Windows: scan or save the sheet as PNG, JPEG, TIFF or BMP";
  }
  IWICImagingFactory* factory = ImagingFactory();
  ComPtr<IWICBitmapDecoder> decoder;
  if (factory == nullptr ||
      FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, decoder.Put()))) {
    return "not a picture quorvel-cli reads (PNG, JPEG, TIFF or BMP; HEIC and WebP where Windows "
           "has their codecs)";
  }
  GUID container{};
  decoder->GetContainerFormat(&container);
  UINT frames = 0;
  if (FAILED(decoder->GetFrameCount(&frames)) || frames == 0) {
    return "the picture holds no image";
  }
  for (UINT i = 0; i < frames && i < static_cast<UINT>(kMaxScanPages); ++i) {
    ComPtr<IWICBitmapFrameDecode> frame;
    std::string failure = SUCCEEDED(decoder->GetFrame(i, frame.Put()))
                              ? ReadFrame(*factory, *frame.Get(), file, container, take)
                              : "the picture cannot be decoded";
    if (!failure.empty()) {
      return i == 0 ? failure : "page " + std::to_string(i + 1) + ": " + failure;
    }
  }
  return {};
}

}  // namespace quorvel::scan
