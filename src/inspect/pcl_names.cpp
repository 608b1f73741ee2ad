#include "inspect/pcl_names.h"

#include <array>

namespace quorvel::inspect {
namespace {

struct CommandName {
  char parameterised;
  char group;
  char parameter;
  std::string_view name;
};

// The common commands of the PCL 5 technical reference.
constexpr std::array<CommandName, 58> kCommands{{
    {'&', 'l', 'O', "orientation"},
    {'&', 'l', 'A', "page size"},
    {'&', 'l', 'E', "top margin"},
    {'&', 'l', 'F', "text length"},
    {'&', 'l', 'D', "lines per inch"},
    {'&', 'l', 'C', "vertical motion index"},
    {'&', 'l', 'H', "paper source"},
    {'&', 'l', 'X', "number of copies"},
    {'&', 'l', 'L', "perforation skip"},
    {'&', 'l', 'S', "simplex/duplex"},
    {'&', 'l', 'P', "page length"},
    {'&', 'l', 'G', "output bin"},
    {'&', 'l', 'M', "media type"},
    {'&', 'l', 'U', "left offset registration"},
    {'&', 'l', 'Z', "top offset registration"},
    {'&', 'a', 'L', "left margin"},
    {'&', 'a', 'M', "right margin"},
    {'&', 'a', 'R', "cursor row"},
    {'&', 'a', 'C', "cursor column"},
    {'&', 'a', 'H', "horizontal position (decipoints)"},
    {'&', 'a', 'V', "vertical position (decipoints)"},
    {'&', 'a', 'P', "print direction"},
    {'&', 'a', 'G', "duplex page side"},
    {'&', 'k', 'H', "horizontal motion index"},
    {'&', 'k', 'G', "line termination"},
    {'&', 'k', 'S', "pitch mode"},
    {'&', 'd', 'D', "underline on"},
    {'&', 'd', '@', "underline off"},
    {'&', 's', 'C', "end-of-line wrap"},
    {'&', 'f', 'S', "push/pop cursor position"},
    {'&', 'f', 'Y', "macro ID"},
    {'&', 'f', 'X', "macro control"},
    {'&', 'p', 'X', "transparent print data"},
    {'&', 'u', 'D', "unit of measure"},
    {'(', 's', 'P', "primary spacing"},
    {'(', 's', 'H', "primary pitch"},
    {'(', 's', 'V', "primary height"},
    {'(', 's', 'S', "primary style"},
    {'(', 's', 'B', "primary stroke weight"},
    {'(', 's', 'T', "primary typeface"},
    {'(', 's', 'W', "font header data"},
    {')', 's', 'P', "secondary spacing"},
    {')', 's', 'H', "secondary pitch"},
    {')', 's', 'V', "secondary height"},
    {')', 's', 'S', "secondary style"},
    {')', 's', 'B', "secondary stroke weight"},
    {')', 's', 'T', "secondary typeface"},
    {')', 's', 'W', "font header data"},
    {'*', 'p', 'X', "horizontal position (dots)"},
    {'*', 'p', 'Y', "vertical position (dots)"},
    {'*', 't', 'R', "raster resolution"},
    {'*', 'r', 'A', "start raster graphics"},
    {'*', 'r', 'B', "end raster graphics"},
    {'*', 'b', 'W', "raster row data"},
    {'*', 'b', 'M', "raster compression"},
    {'*', 'c', 'D', "font ID"},
    {'%', '\0', 'X', "universal exit language"},
    {'%', '\0', 'B', "enter HP-GL/2"},
}};

struct SymbolSet {
  std::string_view id;
  std::string_view name;
};

constexpr std::array<SymbolSet, 19> kSymbolSets{{
    {"0Y", "3 of 9 barcode"},
    {"8Y", "EAN/UPC barcode"},
    {"15Y", "ZIP barcode"},
    {"0U", "ASCII"},
    {"1U", "Legal"},
    {"8U", "Roman-8"},
    {"10U", "PC-8"},
    {"11U", "PC-8 Danish/Norwegian"},
    {"12U", "PC-850"},
    {"17U", "PC-852"},
    {"9U", "Windows 3.0 Latin 1"},
    {"19U", "Windows 3.1 Latin 1"},
    {"9E", "Windows 3.1 Latin 2"},
    {"0N", "ISO 8859-1 Latin 1"},
    {"2N", "ISO 8859-2 Latin 2"},
    {"5N", "ISO 8859-9 Latin 5"},
    {"8M", "Math-8"},
    {"19M", "Symbol"},
    {"579L", "Wingdings"},
}};

}  // namespace

std::string_view PclCommandName(char parameterised, char group, char parameter) {
  for (const CommandName& entry : kCommands) {
    if (entry.parameterised == parameterised && entry.group == group &&
        entry.parameter == parameter) {
      return entry.name;
    }
  }
  return {};
}

std::string_view SymbolSetName(std::string_view id) {
  for (const SymbolSet& entry : kSymbolSets) {
    if (entry.id == id) {
      return entry.name;
    }
  }
  return {};
}

std::string_view PclTwoCharacterName(char command) {
  switch (command) {
    case 'E':
      return "printer reset";
    case '9':
      return "clear horizontal margins";
    case '=':
      return "half-line feed";
    case 'Y':
      return "display functions on";
    case 'Z':
      return "display functions off";
    case 'z':
      return "self-test";
    default:
      return {};
  }
}

}  // namespace quorvel::inspect
