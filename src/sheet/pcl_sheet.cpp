// A PCL printer's reading of text jobs: Courier 10 characters per inch, 6 lines per inch, text
// from the top margin on; CR, LF (no carriage return), FF, BS, HT; SO and SI switch between the
// secondary and the primary font; ESC ( and ESC ) designate their symbol sets; ESC E resets.
// The barcode symbol sets 0Y (Code 39), 8Y (EAN/UPC) and 15Y (POSTNET) print each character as
// one glyph of that font; every other set prints text. Any other command is skipped and noted.
// A UEL (ESC %-12345X) resets the printer as ESC E does and, like the PJL lines after it, prints
// nothing: job control ends no page and starts none.

#include <cstdint>

#include "inspect/byte_names.h"
#include "inspect/font_state.h"
#include "inspect/job_item.h"
#include "sheet/glyph_tables.h"
#include "sheet/interpreters.h"
#include "sheet/sheet_writer.h"

namespace quorvel::sheet {
namespace {

using inspect::Item;
using inspect::ItemKind;

// The fonts as the inspector follows them: the set the printer held before the job, and the
// default after a reset, are drawn as text.
using PclState = inspect::FontState;

ByteSpan SpanOf(const Item& item) {
  return {item.offset, item.bytes.size()};
}

void PrintCharacter(char c, std::size_t offset, const PclState& state, SheetWriter& writer) {
  const std::optional<GlyphFont> font =
      FontForSymbolSet(state.active == "secondary" ? state.secondary : state.primary);
  if (font && HasGlyph(*font, c)) {
    writer.PrintGlyph(c, offset, *font, false);
  } else if (font) {
    writer.MarkGlyphsApproximate();  // what the font holds there no reference gives
    writer.Space(offset);            // a code the symbol set does not define prints a space
  } else {
    writer.Print(c, offset, Typeface::kFixed);
  }
}

void Control(const Item& item, PclState& state, SheetWriter& writer) {
  const auto byte = static_cast<std::uint8_t>(item.bytes[0]);
  if (writer.CommonControl(byte, item.offset)) {
    return;
  }
  switch (byte) {
    case '\n':
      writer.LineFeed(item.offset);
      return;
    case 0x0E:  // SO and SI switch between the secondary and the primary font
    case 0x0F:
      inspect::ApplyItem(state, item);
      return;
    default:
      break;
  }
  if (byte >= 0x80) {
    PrintCharacter(item.bytes[0], item.offset, state, writer);
    return;
  }
  writer.AddNote(SpanOf(item), inspect::ByteName(byte) + ": not drawn");
}

void Designate(const Item& item, PclState& state, SheetWriter& writer) {
  inspect::ApplyItem(state, item);
  if (!FontForSymbolSet(item.value) && !IsTextSymbolSet(item.value)) {
    writer.AddNote(SpanOf(item), "symbol set " + item.value +
                                     " is unknown here: its characters are drawn as text");
  }
}

// ESC E, and a UEL, which resets the printer as ESC E does before it leaves PCL.
void Reset(const Item& item, PclState& state, SheetWriter& writer) {
  inspect::ApplyItem(state, item);
  writer.EjectIfUsed(item.offset);
  writer.CarriageReturn();
}

void Command(const Item& item, PclState& state, SheetWriter& writer) {
  if (item.truncated) {
    writer.AddNote(SpanOf(item), item.name + ": " + item.warning + "; skipped");
  } else if (item.name == "primary symbol set" || item.name == "secondary symbol set") {
    Designate(item, state, writer);
  } else if (item.name == "printer reset") {
    Reset(item, state, writer);
    writer.AddNote(SpanOf(item), "ESC E: printer reset; a page holding anything is ejected");
  } else {
    writer.AddNote(SpanOf(item), "skipped: " + item.code + " " + item.name +
                                     (item.detail.empty() ? "" : " " + item.detail));
  }
}

}  // namespace

void ReadPcl(std::string_view job, Sheet& sheet) {
  SheetWriter writer(sheet, false);
  PclState state;
  inspect::ItemReader reader(job, inspect::Dialect::kPcl);
  while (!reader.Done() && !writer.Full()) {
    const Item item = reader.Next();
    switch (item.kind) {
      case ItemKind::kText:
        for (std::size_t i = 0; i < item.bytes.size(); ++i) {
          PrintCharacter(item.bytes[i], item.offset + i, state, writer);
        }
        break;
      case ItemKind::kControl:
        Control(item, state, writer);
        break;
      case ItemKind::kUnknownEscape:
        writer.AddNote(SpanOf(item), "ESC followed by a byte PCL gives no meaning: ESC is skipped");
        break;
      case ItemKind::kCommand:
        Command(item, state, writer);
        break;
      case ItemKind::kJobControl:
        if (inspect::IsUel(item)) {
          Reset(item, state, writer);
        }
        break;
    }
  }
  writer.Finish(!reader.Done());
}

}  // namespace quorvel::sheet
