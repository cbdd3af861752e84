// Replays a harness's committed inputs through its entry point, without the fuzzing engine:
// the ordinary test builds (AddressSanitizer and UndefinedBehaviorSanitizer) run every seed
// and every input that once found a fault, so a fault that returns fails the tests.
//   fuzz_replay_<name> <folder or file>...
// A broken promise aborts inside the harness; a folder holding no input fails, so a corpus
// that went missing cannot pass unnoticed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {
namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& where)
{
  std::vector<fs::path> inputs;
  if (fs::is_directory(where))
  {
    for (const fs::directory_entry& entry : fs::directory_iterator(where))
      if (entry.is_regular_file())
        inputs.push_back(entry.path());
  }
  else if (fs::is_regular_file(where))
  {
    inputs.push_back(where);
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

// The bytes in a block of exactly their size, so that a read past the end shows.
void Replay(const fs::path& file)
{
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
  std::copy(bytes.begin(), bytes.end(), exact.get());
  LLVMFuzzerTestOneInput(exact.get(), bytes.size());
}
}  // namespace

int main(int argc, char** argv)
{
  if (argc < 2)
  {
    std::fprintf(stderr, "usage: %s <folder or file>...\n", argv[0]);
    return 2;
  }
  for (int a = 1; a < argc; ++a)
  {
    const std::vector<fs::path> inputs = InputsIn(argv[a]);
    if (inputs.empty())
    {
      std::fprintf(stderr, "%s: no input\n", argv[a]);
      return 1;
    }
    for (const fs::path& file : inputs)
    {
      // Named before it runs: an input that aborts is the last one printed.
      std::fprintf(stderr, "%s\n", file.filename().string().c_str());
      Replay(file);
    }
    std::printf("%s: %zu inputs replayed\n", argv[a], inputs.size());
  }
  return 0;
}
