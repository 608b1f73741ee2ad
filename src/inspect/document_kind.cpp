#include "inspect/document_kind.h"

#include <array>

namespace quorvel::inspect {
namespace {

using namespace std::string_view_literals;

struct Signature {
  std::size_t at;          // where the signature starts
  std::string_view bytes;  // the signature
  std::string_view kind;   // what a file carrying it is
};

// Each format's signature as its own definition gives it: PNG's 8-byte signature, JPEG's SOI
// marker and the first marker's FF, TIFF's byte order and 42, BMP's "BM", GIF's version, a
// RIFF file of form WEBP, an ISO base media file whose brand is a HEIF one, and PDF's header.
constexpr std::array kSignatures{
    Signature{0, "\x89PNG\r\n\x1a\n"sv, "a PNG picture"},
    Signature{0, "\xff\xd8\xff"sv, "a JPEG picture"},
    Signature{0, "II*\0"sv, "a TIFF picture"},
    Signature{0, "MM\0*"sv, "a TIFF picture"},
    Signature{0, "GIF87a"sv, "a GIF picture"},
    Signature{0, "GIF89a"sv, "a GIF picture"},
    Signature{8, "WEBP"sv, "a WebP picture"},
    Signature{4, "ftypheic"sv, "a HEIF picture"},
    Signature{4, "ftypheix"sv, "a HEIF picture"},
    Signature{4, "ftyphevc"sv, "a HEIF picture"},
    Signature{4, "ftypmif1"sv, "a HEIF picture"},
    Signature{4, "ftypmsf1"sv, "a HEIF picture"},
    Signature{4, "ftypavif"sv, "an AVIF picture"},
    Signature{0, "%PDF-"sv, "a PDF document"},
};

bool StartsAt(std::string_view head, std::size_t at, std::string_view bytes) {
  return head.size() >= at + bytes.size() && head.substr(at, bytes.size()) == bytes;
}

}  // namespace

std::string_view DocumentKind(std::string_view head) {
  head = head.substr(0, 16);
  for (const Signature& signature : kSignatures) {
    // WebP's form type follows "RIFF" and the chunk's size.
    if (StartsAt(head, signature.at, signature.bytes) &&
        (signature.at != 8 || StartsAt(head, 0, "RIFF"))) {
      return signature.kind;
    }
  }
  // A BMP starts "BM", its file size, and two reserved words that are zero.
  if (StartsAt(head, 0, "BM") && StartsAt(head, 6, "\0\0\0\0"sv)) {
    return "a BMP picture";
  }
  return {};
}

}  // namespace quorvel::inspect
