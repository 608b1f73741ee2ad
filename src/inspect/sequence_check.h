#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "inspect/job_item.h"

namespace quorvel::inspect {

/// One step of the alignment of the bytes a text line names with the bytes sent: both present
/// (equal or not), a byte sent that the text does not name, or a named byte that was not sent.
struct SequenceStep {
  std::optional<std::uint8_t> named;
  std::optional<std::uint8_t> sent;
  bool Differs() const { return named != sent; }
};

/// A text line that spells out an escape sequence ("ESC-Sequence: ESC SYN A BS ...", or a
/// caption ending "ESC(0Y"), set beside the command bytes the job actually sends after it.
struct SequenceCheck {
  std::size_t firstLine = 0;  // 0-based index of the line that starts the spelling
  std::size_t lastLine = 0;   // its last continuation line
  std::string named;          // the bytes the words stand for
  std::string sent;           // the commands that follow; empty when none does
  bool found = false;         // whether a command follows at all
  std::vector<SequenceStep> steps;
  std::size_t Differences() const;
};

/// The bytes that a spelled-out sequence stands for: control names ("ESC", "SYN", "SP") are one
/// byte each, other words are their characters, "ESC(0Y" is ESC followed by "(0Y". A space
/// between two words of text, or a line break between them, is a data space. A colon ending the
/// spelling is text only.
std::string SpelledBytes(const std::vector<std::string>& lines);

/// Finds every spelled-out sequence in `lines` and compares it with the commands sent after it.
std::vector<SequenceCheck> CheckSequences(const std::vector<JobLine>& lines);

/// The shortest list of steps that turns `named` into `sent`; equal bytes are paired first, and
/// bytes sent beyond what the text names are placed as late as possible.
std::vector<SequenceStep> AlignBytes(const std::string& named, const std::string& sent);

}  // namespace quorvel::inspect
