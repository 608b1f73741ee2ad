#pragma once

#include <string>

#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_api.h"
#include "render/canvas.h"

namespace quorvel::win32 {

/// A white page of 8-bit grey dots that GDI draws into (a DIB section at the page's resolution),
/// with text in a fixed-pitch font: the Windows canvas. Every mark is black and unsmoothed, as a
/// printer lays it down, so the rows hold only black and white.
class GdiCanvas final : public render::Canvas {
 public:
  /// A page `width` × `height` dots at `dpi`. Failed() says when there was no memory for it.
  GdiCanvas(int width, int height, double dpi, const sheet::Geometry& geometry);
  ~GdiCanvas() override;

  /// Why the page could not be made; empty when it was.
  const std::string& Failed() const { return failure_; }
  /// The rows, top first, `Stride()` bytes apart, once GDI has finished drawing.
  const unsigned char* Rows() const;
  int Stride() const { return (width_ + 3) & ~3; }

  void Fill(double left, double top, double width, double height) override;
  void Frame(double left, double top, double width, double height) override;
  void CellText(const std::string& latin1, sheet::Typeface face, double left,
                double baseline) override;
  void Line(const std::string& utf8, double centre, double width, double baseline,
            double height) override;
  void Remark(const std::string& utf8, double left, double baseline) override;

 private:
  struct DcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static bool IsValid(Type dc) { return dc != nullptr; }
    static void Close(Type dc) { ::DeleteDC(dc); }
  };

  /// Selects a font `pixels` high (its em) for the text that follows; it lives until the next.
  void UseFont(bool fixed, double pixels, bool italic);

  int width_;
  int height_;
  std::string failure_;
  UniqueHandle<DcTraits> dc_;
  UniqueGdiObject bitmap_;
  UniqueGdiObject font_;
  HGDIOBJ originalBitmap_ = nullptr;
  HGDIOBJ originalFont_ = nullptr;
  unsigned char* bits_ = nullptr;
};

}  // namespace quorvel::win32
