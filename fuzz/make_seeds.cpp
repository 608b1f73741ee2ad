// Writes the fuzzer's seed corpus into the folder given: the two test jobs, each cut short at
// every line end and inside commands, and mangled copies (wrong length and count bytes, huge PCL
// values, stray escapes, flipped bytes).

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "pages/dot_matrix_page.h"
#include "pages/pcl_page.h"

namespace {

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
  if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    std::perror(name.c_str());
  }
  if (file) {
    std::fclose(file);
  }
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

void WriteVariants(const std::string& folder, const std::string& name, const std::string& job) {
  Write(folder, name + ".prn", job);
  for (std::size_t cut = 1; cut < job.size(); cut += 37) {
    Write(folder, name + "-cut-" + std::to_string(cut) + ".prn", job.substr(0, cut));
  }
  std::mt19937 random(20240501u);
  for (int copy = 0; copy < 8; ++copy) {
    std::string mangled = job;
    for (int flip = 0; flip < 6; ++flip) {
      mangled[random() % mangled.size()] = static_cast<char>(random() % 256);
    }
    Write(folder, name + "-flipped-" + std::to_string(copy) + ".prn", mangled);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string dotMatrix = quorvel::ComposeDotMatrixPage() + "\x0C";
  const std::string pcl = quorvel::ComposePclPage() + "\x0C";
  WriteVariants(folder, "dot-matrix", dotMatrix);
  WriteVariants(folder, "pcl", pcl);
  const std::vector<std::pair<std::string, std::string>> extra{
      {"length-too-long", Replace(dotMatrix,
                                  "\x1B\x10"
                                  "B\x08",
                                  "\x1B\x10"
                                  "B\xFF")},
      {"count-too-long", Replace(dotMatrix,
                                 "\x1B\x10"
                                 "A\x08",
                                 "\x1B\x10"
                                 "A\xF0")},
      {"syn-sent", Replace(dotMatrix, "\x1B\x10", "\x1B\x16")},
      {"pcl-huge-values", Replace(pcl, "\x1B)0Y", "\x1B)99999999999999999999999999999999999Y")},
      {"pcl-raster",
       "\x1B"
       "E\x1B*r1A\x1B*b99999W\x01\x02\x1B*rB\x1B&l1o2a0E\x1B%-12345X"},
      {"pcl-combined", Replace(pcl, "\x1B(10U", "\x1B&l0o26a1X\x1B(s0p10h12v0s0b3T")},
      {"stray-escapes", std::string("\x1B\x1B\x1B(\x1B)\x1B&\x1B*\x1B\x10\x1B\x10"
                                    "A",
                                    17)},
      {"spelled-only", "ESC-Sequence: ESC SYN A BS\r\nmore words\r\nand more\r\nESC(0Y ESC"},
  };
  for (const auto& [name, bytes] : extra) {
    Write(folder, name + ".prn", bytes);
  }
  return 0;
}
