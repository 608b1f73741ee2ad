#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel::inspect {

/// Which printer language the escape sequences of a job are read in.
enum class Dialect { kDotMatrix, kPcl };

std::string_view DialectName(Dialect dialect);

enum class ItemKind {
  kText,           // a run of printable bytes
  kControl,        // one control byte (or a byte above 127), shown by name
  kCommand,        // an escape sequence decoded with its parameters
  kUnknownEscape,  // an ESC the dialect does not know: shown raw, the bytes after it are decoded
  kJobControl,     // PCL jobs: a UEL or a PJL command line; the printer prints nothing for it
};

/// One piece of a decoded job.
struct Item {
  ItemKind kind = ItemKind::kText;
  std::size_t offset = 0;  // of the first byte in the job
  std::string bytes;       // every byte the item covers, payload included
  // kCommand and kJobControl:
  std::string code;        // the sequence without its payload, e.g. ESC DLE "A", "@PJL EOJ"
  std::string name;        // kCommand: what it does, e.g. "barcode parameters"
  std::string detail;      // kCommand: its parameters, e.g. "count 8, bytes 0 1 0 6 1 1 1 1"
  std::string warning;     // kCommand: what disagrees (a length byte, a cut-off sequence)
  std::string value;       // kCommand: the symbol set a designation selects, e.g. "0Y"
  bool truncated = false;  // kCommand: the job ends before the command does
};

/// One line of the job: the items up to and including a line feed (or the end of the job).
struct JobLine {
  std::size_t number = 0;  // 1-based
  std::size_t offset = 0;
  std::size_t length = 0;
  std::vector<Item> items;
};

/// The one item that starts at `at` (< job.size()): a text run, a control byte or an escape
/// sequence of `dialect`. It covers at least one byte; reading item after item is how a printer
/// reads the job, so a reader may stop at any point.
Item DecodeItemAt(std::string_view job, std::size_t at, Dialect dialect);

/// Reads a job item by item as the printer does. In PCL, a UEL (ESC %-12345X) hands the printer
/// to PJL: the lines after it that start with "@PJL" (upper case), each up to its line feed, are
/// job control; the first byte that starts no such line, or an "@PJL ENTER LANGUAGE" line,
/// returns it to the page's language. Neither a UEL nor a PJL line prints anything.
class ItemReader {
 public:
  ItemReader(std::string_view job, Dialect dialect) : job_(job), dialect_(dialect) {}
  bool Done() const { return at_ >= job_.size(); }
  std::size_t Offset() const { return at_; }
  /// The next item (call only while not Done()).
  Item Next();

 private:
  std::string_view job_;
  Dialect dialect_;
  std::size_t at_ = 0;
  bool pjl_ = false;  // a UEL came and PJL lines may follow
};

/// True for the UEL item: it leaves PCL, resetting the printer as ESC E does.
bool IsUel(const Item& item);

/// Splits the job into items: text runs, control bytes and escape sequences of `dialect`, and
/// in PCL the job control around them (as ItemReader reads it).
std::vector<Item> DecodeItems(std::string_view job, Dialect dialect);

/// Groups items into lines; a line ends after each line-feed item and each PJL line (line feeds
/// inside a command's parameters or data do not end lines).
std::vector<JobLine> SplitLines(std::vector<Item> items);

/// Reads the job's escape sequences and guesses its dialect: PCL when more of them look like PCL
/// than like dot-matrix commands (or when it shifts fonts with SO/SI and has no escapes).
Dialect GuessDialect(std::string_view job);

// The dialect decoders: each decodes the escape sequence starting at `at` (which holds ESC) and
// returns it as a command, or nothing when the dialect does not know it.
std::optional<Item> DecodeDotMatrixEscape(std::string_view job, std::size_t at);
std::optional<Item> DecodePclEscape(std::string_view job, std::size_t at);

}  // namespace quorvel::inspect
