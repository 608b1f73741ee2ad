// A dot-matrix printer in IBM/Epson emulation: text at 10 characters per inch and 6 lines per
// inch, 80 columns (a full line goes on at the start of the next one), CR, LF (which also
// returns the carriage, as ESC/P does), FF, BS, HT, ESC @, ESC k n and the barcode commands.
// A barcode is printed at the print position, its top on the current line; the paper does not
// move for it, so the lines that follow give it room.

#include <cstdint>

#include "inspect/byte_names.h"
#include "inspect/job_item.h"
#include "sheet/barcode_rules.h"
#include "sheet/guesses.h"
#include "sheet/interpreters.h"
#include "sheet/sheet_writer.h"

namespace quorvel::sheet {
namespace {

using inspect::Item;
using inspect::ItemKind;

struct DotMatrixState {
  Typeface typeface = Typeface::kFixed;  // the letter-quality face ESC k selected
  bool letterQuality = true;             // LQ or NLQ; false: draft
  bool qualitySet = false;               // by ESC x; otherwise the power-on quality (a guess)
  BarcodeSettings barcode;

  // The face characters print in now: draft has its own, drawn as the fixed face.
  Typeface Face() const { return letterQuality ? typeface : Typeface::kFixed; }
  // A face that only letter quality gives rests on the guessed power-on quality.
  Guesses FaceGuesses() const {
    return !qualitySet && typeface != Typeface::kFixed ? Guesses{kQualityGuess} : Guesses{};
  }
};

ByteSpan SpanOf(const Item& item) {
  return {item.offset, item.bytes.size()};
}

// ESC k n: Epson's typefaces 0 to 11 (Roman, Sans Serif, Courier, Prestige, Script, OCR-B,
// OCR-A, Orator, Orator-S, Script C, Roman T, Sans Serif H) and OKI's 122 Swiss Bold and
// 124 Gothic. The sans serif faces are drawn in the sheet's sans serif, the others fixed.
bool IsTypeface(int n) {
  return n <= 11 || n == 122 || n == 124;
}
bool IsSansSerif(int n) {
  return n == 1 || n == 11 || n == 122 || n == 124;
}

void SelectTypeface(const Item& item, DotMatrixState& state, SheetWriter& writer) {
  if (item.bytes.size() < 3) {
    return;
  }
  const int n = static_cast<std::uint8_t>(item.bytes[2]);
  const std::string command = "ESC k " + std::to_string(n);
  if (!IsTypeface(n)) {
    writer.AddNote(SpanOf(item), command + ": no such typeface, the command is ignored");
    return;
  }
  state.typeface = IsSansSerif(n) ? Typeface::kSansSerif : Typeface::kFixed;
  if (!state.letterQuality) {
    writer.AddNote(SpanOf(item),
                   command + ": kept for letter quality; draft prints in its own face");
  } else if (n == 122) {
    writer.AddNote(SpanOf(item), command + ": Swiss Bold, drawn in the sans serif face, not bold");
  } else if (n == 124) {
    writer.AddNote(SpanOf(item), command + ": Gothic, drawn in the sans serif face");
  } else if (n != 0 && n != 1 && n != 2 && n != 11) {
    writer.AddNote(SpanOf(item), command + ": drawn in the fixed face");
  }
}

// ESC x n: 0 or 48 draft, 1 or 49 letter quality; other values are ignored.
void SelectQuality(const Item& item, DotMatrixState& state, SheetWriter& writer) {
  if (item.bytes.size() < 3) {
    return;
  }
  const int n = static_cast<std::uint8_t>(item.bytes[2]);
  if (n != 0 && n != 1 && n != '0' && n != '1') {
    writer.AddNote(SpanOf(item), "ESC x " + std::to_string(n) + ": no such quality, ignored");
    return;
  }
  state.letterQuality = n == 1 || n == '1';
  state.qualitySet = true;
}

void BarcodeData(const Item& item, DotMatrixState& state, Sheet& sheet, SheetWriter& writer) {
  const std::string_view data =
      std::string_view(item.bytes).substr(std::min<std::size_t>(4, item.bytes.size()));
  if (sheet.barcodes.size() >= kMaxBarcodes) {
    writer.AddNote(SpanOf(item), "more than " + std::to_string(kMaxBarcodes) +
                                     " barcodes: this one is not drawn");
    return;
  }
  DataOutcome outcome = ReadBarcodeData(state.barcode, data);
  if (!outcome.barcode) {
    writer.AddNote(SpanOf(item), outcome.note);
    return;
  }
  if (writer.Here().column >= sheet.geometry.columns) {
    writer.CarriageReturn();  // a full line is printed first, as for text
    writer.LineFeed(item.offset);
    if (writer.Full()) {
      return;
    }
  }
  const Position at = writer.Here();
  const double start = at.column / sheet.geometry.charactersPerInch;
  const double end = start + outcome.barcode->widthInches;
  if (end > sheet.geometry.columns / sheet.geometry.charactersPerInch + 1e-9) {
    writer.AddNote(SpanOf(item), SymbologyName(outcome.barcode->symbology) +
                                     " would reach past the right margin: the printer does not "
                                     "print it");
    return;
  }
  outcome.barcode->at = at;
  outcome.barcode->bytes = SpanOf(item);
  sheet.barcodes.push_back(std::move(*outcome.barcode));
  writer.Touch();
  writer.EndSymbolAt(end);
}

void Command(const Item& item, DotMatrixState& state, Sheet& sheet, SheetWriter& writer) {
  // The inspector also warns when a length byte covers control bytes; the printer counts them
  // as data all the same. Only a command the job cuts off is not carried out.
  if (item.truncated) {
    writer.AddNote(SpanOf(item), item.name + ": " + item.warning + "; not carried out");
    return;
  }
  if (item.name == "initialize printer") {
    state = DotMatrixState{};
  } else if (item.name == "select typeface") {
    SelectTypeface(item, state, writer);
  } else if (item.name == "select print quality") {
    SelectQuality(item, state, writer);
  } else if (item.name == "barcode parameters") {
    state.barcode.bytes = SpanOf(item);
    const std::string note =
        ApplyParameters(state.barcode, static_cast<std::uint8_t>(item.bytes[3]),
                        std::string_view(item.bytes).substr(4));
    if (!note.empty()) {
      writer.AddNote(SpanOf(item), "ESC DLE A: " + note);
    }
  } else if (item.name == "barcode data") {
    BarcodeData(item, state, sheet, writer);
  }
}

void Control(const Item& item, const DotMatrixState& state, SheetWriter& writer) {
  const auto byte = static_cast<std::uint8_t>(item.bytes[0]);
  if (byte == '\n') {  // the printer's line feed also returns the carriage
    writer.CarriageReturn();
    writer.LineFeed(item.offset);
    return;
  }
  if (writer.CommonControl(byte, item.offset)) {
    return;
  }
  if (byte >= 0x80) {
    writer.Print(item.bytes[0], item.offset, state.Face(), state.FaceGuesses());
    return;
  }
  writer.AddNote(SpanOf(item), inspect::ByteName(byte) + ": not drawn");
}

}  // namespace

void ReadDotMatrix(std::string_view job, Sheet& sheet) {
  SheetWriter writer(sheet, true);
  DotMatrixState state;
  std::size_t at = 0;
  while (at < job.size() && !writer.Full()) {
    const Item item = inspect::DecodeItemAt(job, at, inspect::Dialect::kDotMatrix);
    at += item.bytes.size();
    switch (item.kind) {
      case ItemKind::kText:
        for (std::size_t i = 0; i < item.bytes.size() && !writer.Full(); ++i) {
          writer.Print(item.bytes[i], item.offset + i, state.Face(), state.FaceGuesses());
        }
        break;
      case ItemKind::kControl:
        Control(item, state, writer);
        break;
      case ItemKind::kUnknownEscape:
        writer.AddNote(SpanOf(item),
                       "ESC: no command this printer model knows starts here; ESC is "
                       "dropped and the bytes after it are read as they come");
        break;
      case ItemKind::kCommand:
        Command(item, state, sheet, writer);
        break;
      case ItemKind::kJobControl:  // PCL only: a dot-matrix printer speaks no PJL
        break;
    }
  }
  writer.Finish(at < job.size());
}

}  // namespace quorvel::sheet
