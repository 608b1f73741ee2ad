#include "sheet/symbol_data.h"

namespace quorvel::sheet {

std::string ExpandUpcE(std::string_view d) {
  const std::string m(d.substr(0, 5));
  switch (d[5]) {
    case '0':
    case '1':
    case '2':
      return "0" + m.substr(0, 2) + d[5] + "0000" + m.substr(2, 3);
    case '3':
      return "0" + m.substr(0, 3) + "00000" + m.substr(3, 2);
    case '4':
      return "0" + m.substr(0, 4) + "00000" + m.substr(4, 1);
    default:
      return "0" + m + "0000" + d[5];
  }
}

}  // namespace quorvel::sheet
