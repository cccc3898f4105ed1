// Sets the outputs of several builds side by side (files written by
// cross_build_outputs) and prints, per output, how many values differ in
// their bits from the first build's, as a Markdown table.
//   cross_build_compare LABEL=FILE LABEL=FILE ...
//
// Exit status 1 when an output marked exact differs in any value other than
// a NaN (whose sign and payload the hardware chooses: x86 makes
// 0xFFF8000000000000 from inf - inf, aarch64 0x7FF8000000000000), or when
// the files do not hold the same outputs; 2 on a usage or read error.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Section {
  std::string name;
  bool exact = false;
  std::vector<double> values;
};

struct Build {
  std::string label;
  std::vector<Section> sections;
};

bool read_exactly(std::FILE* f, void* p, std::size_t bytes) {
  return bytes == 0 || std::fread(p, 1, bytes, f) == bytes;
}

bool read_build(const std::string& label, const char* path, Build& build) {
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) return false;
  build.label = label;
  bool ok = true;
  for (;;) {
    std::uint32_t nameLength = 0;
    if (std::fread(&nameLength, 4, 1, f) != 1) break;  // end of file
    Section s;
    s.name.resize(nameLength);
    unsigned char exact = 0;
    std::uint32_t count = 0;
    ok = nameLength < 4096 && read_exactly(f, &s.name[0], nameLength) &&
         read_exactly(f, &exact, 1) && read_exactly(f, &count, 4) &&
         count <= (1u << 24);
    if (ok) {
      s.values.resize(count);
      ok = read_exactly(f, s.values.data(), 8u * count);
    }
    if (!ok) break;
    s.exact = exact != 0;
    build.sections.push_back(std::move(s));
  }
  std::fclose(f);
  return ok && !build.sections.empty();
}

std::uint64_t bits_of(double v) {
  std::uint64_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

struct Difference {
  long values = 0;  // values whose bits differ
  long nans = 0;    // of which both are NaN
};

Difference compare(const Section& a, const Section& b) {
  Difference d;
  for (std::size_t i = 0; i < a.values.size(); i++) {
    if (bits_of(a.values[i]) == bits_of(b.values[i])) continue;
    d.values++;
    if (std::isnan(a.values[i]) && std::isnan(b.values[i])) d.nans++;
  }
  return d;
}

std::string cell(const Difference& d) {
  if (d.values == 0) return "identical";
  std::string s = std::to_string(d.values) + " differ";
  if (d.nans == d.values) {
    s += " (NaN sign only)";
  } else if (d.nans > 0) {
    s += " (" + std::to_string(d.nans) + " of them NaN sign)";
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s LABEL=FILE LABEL=FILE ...\n", argv[0]);
    return 2;
  }
  std::vector<Build> builds;
  for (int i = 1; i < argc; i++) {
    const char* eq = std::strchr(argv[i], '=');
    if (eq == nullptr) {
      std::fprintf(stderr, "cross_build_compare: %s is not LABEL=FILE\n",
                   argv[i]);
      return 2;
    }
    Build b;
    const std::string label(argv[i], static_cast<std::size_t>(eq - argv[i]));
    if (!read_build(label, eq + 1, b)) {
      std::fprintf(stderr, "cross_build_compare: cannot read %s\n", eq + 1);
      return 2;
    }
    builds.push_back(std::move(b));
  }

  const Build& first = builds[0];
  for (const Build& b : builds) {
    bool same = b.sections.size() == first.sections.size();
    for (std::size_t s = 0; same && s < first.sections.size(); s++) {
      same = b.sections[s].name == first.sections[s].name &&
             b.sections[s].values.size() == first.sections[s].values.size();
    }
    if (!same) {
      std::fprintf(stderr,
                   "cross_build_compare: %s holds other outputs than %s\n",
                   b.label.c_str(), first.label.c_str());
      return 1;
    }
  }

  std::printf("| output | values |");
  for (std::size_t i = 1; i < builds.size(); i++) {
    std::printf(" %s |", builds[i].label.c_str());
  }
  std::printf("\n|---|---|");
  for (std::size_t i = 1; i < builds.size(); i++) std::printf("---|");
  std::printf("\n");

  bool exactAgree = true;
  for (std::size_t s = 0; s < first.sections.size(); s++) {
    const Section& ref = first.sections[s];
    std::printf("| %s | %zu |", ref.name.c_str(), ref.values.size());
    for (std::size_t i = 1; i < builds.size(); i++) {
      const Difference d = compare(ref, builds[i].sections[s]);
      std::printf(" %s |", cell(d).c_str());
      if (ref.exact && d.values != d.nans) exactAgree = false;
    }
    std::printf("\n");
  }
  std::printf("\nEach cell counts the values whose bits differ from %s's.\n",
              first.label.c_str());
  if (!exactAgree) {
    std::fprintf(stderr,
                 "cross_build_compare: an output made by correctly "
                 "rounded operations alone differs between builds\n");
    return 1;
  }
  return 0;
}
