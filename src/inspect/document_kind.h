#pragma once

#include <string_view>

namespace quorvel::inspect {

/// What a file is when its first bytes are a picture's or a PDF's signature rather than a print
/// job's: "a PNG picture", "a PDF document", ...; empty for anything else (a job, or bytes no
/// known picture format starts with). Reads at most the first 16 bytes.
std::string_view DocumentKind(std::string_view head);

}  // namespace quorvel::inspect
