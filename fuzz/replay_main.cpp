// The main of a fuzz target built without libFuzzer: runs LLVMFuzzerTestOneInput once on
// each file named on the command line and on every regular file of each directory named
// (not recursively, in name order), as libFuzzer does with -runs=0. The ordinary test run
// replays each committed corpus this way, so every input that once found a fault stays a
// test.
//
// Exit status 0 when every input ran; 1 for an argument that cannot be read or when no input
// was found at all (an empty corpus proves nothing). A broken invariant aborts inside the
// target.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

bool ReadFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  bytes.clear();
  std::uint8_t chunk[65536];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

// The files to replay for one argument, in name order; false when it cannot be listed.
bool InputsOf(const std::filesystem::path& arg, std::vector<std::filesystem::path>& inputs) {
  std::error_code error;
  if (!std::filesystem::is_directory(arg, error)) {
    inputs.push_back(arg);
    return true;
  }
  std::vector<std::filesystem::path> files;
  for (std::filesystem::directory_iterator it(arg, error), end; !error && it != end;
       it.increment(error)) {
    if (it->is_regular_file(error)) files.push_back(it->path());
  }
  if (error) return false;
  std::sort(files.begin(), files.end());
  inputs.insert(inputs.end(), files.begin(), files.end());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    if (!InputsOf(argv[i], inputs)) {
      std::fprintf(stderr, "%s: cannot list the directory\n", argv[i]);
      return 1;
    }
  }
  std::vector<std::uint8_t> bytes;
  for (const std::filesystem::path& input : inputs) {
    if (!ReadFile(input, bytes)) {
      std::fprintf(stderr, "%s: cannot read\n", input.c_str());
      return 1;
    }
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  }
  if (inputs.empty()) {
    std::fprintf(stderr, "no inputs to replay\n");
    return 1;
  }
  std::printf("replayed %zu inputs\n", inputs.size());
  return 0;
}
