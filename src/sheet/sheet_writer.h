#pragma once

#include <cstddef>
#include <string>

#include "sheet/page_model.h"

namespace quorvel::sheet {

/// The print position and the sheet it writes on: characters go into text or glyph runs, line
/// and page ends move the position, and the page count stays within kMaxPages.
class SheetWriter {
 public:
  /// `wrap`: characters past the last column go on at the start of the next line (a dot-matrix
  /// printer with a full line buffer); otherwise they are clipped, as PCL does by default.
  SheetWriter(Sheet& sheet, bool wrap) : sheet_(sheet), wrap_(wrap) {}

  /// True once the page limit is reached: the reader stops.
  bool Full() const { return full_; }
  Position Here() const { return {page_, line_, column_}; }

  /// `guesses`: what the character's look rests on besides the manuals.
  void Print(char c, std::size_t offset, Typeface face, const Guesses& guesses = {});
  void PrintGlyph(char c, std::size_t offset, GlyphFont font, bool approximate);
  /// A character cell left blank: the position moves on as for a printed character.
  void Space(std::size_t offset) {
    if (Room(offset)) {
      pageUsed_ = true;
      ++column_;
    }
  }
  /// Marks the last glyph run as holding a guess.
  void MarkGlyphsApproximate() {
    if (!sheet_.glyphs.empty()) {
      sheet_.glyphs.back().approximate = true;
    }
  }
  void CarriageReturn() {
    column_ = 0;
    afterSymbol_ = false;
  }
  /// Leaves the head at the end of a symbol that ends `inches` into the line: what prints next
  /// on the line starts in the first whole cell from there.
  void EndSymbolAt(double inches);
  // `offset`: the byte that moves the paper, kept with a page break it causes.
  void LineFeed(std::size_t offset);
  void FormFeed(std::size_t offset);
  /// Ejects the page when anything is on it (as ESC E does).
  void EjectIfUsed(std::size_t offset) {
    if (pageUsed_) {
      FormFeed(offset);
    }
  }
  void Backspace();
  void Tab();
  /// Carries out a control byte that both printers treat alike (CR, FF, BS, HT); false for any
  /// other byte, which the caller handles.
  bool CommonControl(unsigned char byte, std::size_t offset);
  void AddNote(ByteSpan bytes, std::string text);
  /// Marks the current page as printed on (a barcode was drawn there).
  void Touch() { pageUsed_ = true; }
  /// Counts the last page and the notes left out; call once, at the end of the job, saying
  /// whether bytes were left unread because the sheet was full.
  void Finish(bool bytesLeft);

 private:
  bool Room(std::size_t offset);
  void NextPage(std::size_t offset);

  Sheet& sheet_;
  bool wrap_;
  int page_ = 0;
  int line_ = 0;
  int column_ = 0;
  bool afterSymbol_ = false;  // the head stopped at a symbol's end, between two cells
  bool pageUsed_ = false;
  bool full_ = false;
  int clippedLine_ = -1;
  std::size_t notesLeftOut_ = 0;
};

}  // namespace quorvel::sheet
