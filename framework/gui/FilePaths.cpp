#include "framework/gui/FilePaths.h"

#include <cstring>

namespace {

// What the dialog's fixed buffers take.
constexpr size_t kMaxPatternText = 255;
constexpr size_t kMaxDefaultExtension = 15;

}  // namespace

std::string DirectoryOfPath(const char* path)
{
  if (!path)
    return std::string();
  // A separator at the very end belongs to the last element ("C:\\dir\\" lies in "C:\\").
  const size_t length = std::strlen(path);
  for (size_t i = length > 0 ? length - 1 : 0; i-- > 0;)
    if (path[i] == '\\' || path[i] == '/')
      return std::string(path, i + 1);
  return std::string();
}

bool FileDialogFilter(const char* extensions, std::string* filter, std::string* defaultExtension)
{
  std::string patterns;
  std::string first;
  for (const char* p = extensions ? extensions : ""; *p;)
  {
    if (*p == ' ')
    {
      ++p;
      continue;
    }
    const size_t word = std::strcspn(p, " ");
    if (first.empty())
      first.assign(p, word);
    patterns += patterns.empty() ? "*." : ";*.";
    patterns.append(p, word);
    p += word;
  }
  if (patterns.empty() || patterns.size() > kMaxPatternText || first.size() > kMaxDefaultExtension)
    return false;
  *filter = patterns + '\0' + patterns + '\0' + '\0';
  *defaultExtension = first;
  return true;
}
