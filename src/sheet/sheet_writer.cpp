#include "sheet/sheet_writer.h"

#include <cmath>

#include "sheet/guesses.h"

namespace quorvel::sheet {
namespace {

constexpr int kTabWidth = 8;

template <typename Run>
bool Continues(const Run& run, Position at, std::size_t offset) {
  return run.at.page == at.page && run.at.line == at.line &&
         run.at.column + static_cast<int>(run.text.size()) == at.column &&
         run.bytes.offset + run.bytes.length == offset;
}

}  // namespace

bool SheetWriter::Room(std::size_t offset) {
  if (column_ < sheet_.geometry.columns) {
    return true;
  }
  if (wrap_) {
    AddNote({offset, 1}, "the line is full at " + std::to_string(sheet_.geometry.columns) +
                             " columns: the printer goes on at the start of the next line");
    column_ = 0;
    LineFeed(offset);
    return !Full();
  }
  if (clippedLine_ != line_) {
    clippedLine_ = line_;
    AddNote({offset, 1}, "past the right margin: the rest of the line is clipped");
  }
  return false;
}

void SheetWriter::Print(char c, std::size_t offset, Typeface face, const Guesses& guesses) {
  if (!Room(offset)) {
    return;
  }
  pageUsed_ = true;
  const Position at = Here();
  auto& texts = sheet_.texts;
  if (!texts.empty() && texts.back().typeface == face && !afterSymbol_ &&
      texts.back().approximate == guesses && Continues(texts.back(), at, offset)) {
    texts.back().text += c;
    ++texts.back().bytes.length;
  } else {
    texts.push_back({at, std::string(1, c), face, {offset, 1}, guesses});
    if (afterSymbol_) {
      texts.back().approximate.emplace_back(kAfterSymbolGuess);
      afterSymbol_ = false;
    }
  }
  ++column_;
}

void SheetWriter::EndSymbolAt(double inches) {
  const double cells = inches * sheet_.geometry.charactersPerInch;
  const double whole = std::ceil(cells - 1e-9);
  column_ = static_cast<int>(whole);
  afterSymbol_ = whole - cells > 1e-9;
}

void SheetWriter::PrintGlyph(char c, std::size_t offset, GlyphFont font, bool approximate) {
  if (!Room(offset)) {
    return;
  }
  pageUsed_ = true;
  const Position at = Here();
  auto& glyphs = sheet_.glyphs;
  if (!glyphs.empty() && glyphs.back().font == font && Continues(glyphs.back(), at, offset)) {
    glyphs.back().text += c;
    glyphs.back().approximate = glyphs.back().approximate || approximate;
    ++glyphs.back().bytes.length;
  } else {
    glyphs.push_back({at, font, std::string(1, c), approximate, {offset, 1}});
  }
  ++column_;
}

void SheetWriter::LineFeed(std::size_t offset) {
  pageUsed_ = true;
  if (++line_ >= sheet_.geometry.lines) {
    NextPage(offset);
  }
}

void SheetWriter::FormFeed(std::size_t offset) {
  pageUsed_ = true;
  column_ = 0;
  afterSymbol_ = false;
  NextPage(offset);
}

bool SheetWriter::CommonControl(unsigned char byte, std::size_t offset) {
  switch (byte) {
    case '\r':
      CarriageReturn();
      return true;
    case '\f':
      FormFeed(offset);
      return true;
    case '\b':
      Backspace();
      return true;
    case '\t':
      Tab();
      return true;
    default:
      return false;
  }
}

void SheetWriter::Backspace() {
  column_ = column_ > 0 ? column_ - 1 : 0;
}

void SheetWriter::Tab() {
  afterSymbol_ = false;  // a tab stop lies on the cells
  column_ = (column_ / kTabWidth + 1) * kTabWidth;
}

void SheetWriter::NextPage(std::size_t offset) {
  if (Full()) {
    return;
  }
  sheet_.pageBreaks.push_back({page_, {offset, 1}});
  ++sheet_.pages;
  line_ = 0;
  pageUsed_ = false;
  clippedLine_ = -1;
  if (sheet_.pages >= kMaxPages) {
    full_ = true;
    return;
  }
  ++page_;
}

void SheetWriter::AddNote(ByteSpan bytes, std::string text) {
  if (sheet_.notes.size() >= kMaxNotes) {
    ++notesLeftOut_;
    return;
  }
  sheet_.notes.push_back({Here(), std::move(text), bytes});
}

void SheetWriter::Finish(bool bytesLeft) {
  sheet_.cutOff = full_ && bytesLeft;
  if (pageUsed_ && !full_) {
    ++sheet_.pages;
  }
  if (notesLeftOut_ > 0) {
    sheet_.notes.push_back(
        {Here(), std::to_string(notesLeftOut_) + " more notes left out", {0, 0}});
  }
  if (sheet_.cutOff) {
    sheet_.notes.push_back(
        {Here(),
         "the job goes on past " + std::to_string(kMaxPages) + " pages: the rest is not drawn",
         {0, 0}});
  }
}

}  // namespace quorvel::sheet
