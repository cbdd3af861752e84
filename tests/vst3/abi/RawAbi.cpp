#include "tests/vst3/abi/RawAbi.h"

#include <stdexcept>

namespace rawabi {

namespace {

int nibble(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

}  // namespace

Id idFromHex(const char* hex)
{
  Id id{};
  std::size_t n = 0;
  for (const char* p = hex; *p != 0; ++p)
  {
    if (*p == ' ')
      continue;
    const int hi = nibble(*p);
    const int lo = p[1] != 0 ? nibble(p[1]) : -1;
    if (hi < 0 || lo < 0 || n == 16)
      throw std::invalid_argument(std::string("bad id text ") + hex);
    id.bytes[n++] = static_cast<unsigned char>(hi * 16 + lo);
    ++p;
  }
  if (n != 16)
    throw std::invalid_argument(std::string("short id text ") + hex);
  return id;
}

Id guidOrderFromWords(const char* words32Hex)
{
  const Id be = idFromHex(words32Hex);
  const unsigned char order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  Id id{};
  for (int i = 0; i < 16; ++i)
    id.bytes[i] = be.bytes[order[i]];
  return id;
}

Id idFromWords(const char* words32Hex)
{
#if defined(_WIN32)
  return guidOrderFromWords(words32Hex);
#else
  return idFromHex(words32Hex);
#endif
}

std::string hexOf(const void* bytes, std::size_t n)
{
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  const auto* b = static_cast<const unsigned char*>(bytes);
  for (std::size_t i = 0; i < n; ++i)
  {
    if (i)
      out += ' ';
    out += digits[b[i] >> 4];
    out += digits[b[i] & 15];
  }
  return out;
}

const KnownId kKnownIds[] = {
  {"FUnknown", "00000000 00000000 C0000000 00000046", "00 00 00 00 00 00 00 00 C0 00 00 00 00 00 00 46"},
  {"IPluginBase", "22888DDB 156E45AE 8358B348 08190625", "DB 8D 88 22 6E 15 AE 45 83 58 B3 48 08 19 06 25"},
  {"IPluginFactory", "7A4D811C 52114A1F AED9D2EE 0B43BF9F", "1C 81 4D 7A 11 52 1F 4A AE D9 D2 EE 0B 43 BF 9F"},
  {"IPluginFactory2", "0007B650 F24B4C0B A464EDB9 F00B2ABB", "50 B6 07 00 4B F2 0B 4C A4 64 ED B9 F0 0B 2A BB"},
  {"IPluginFactory3", "4555A2AB C1234E57 9B122910 36878931", "AB A2 55 45 23 C1 57 4E 9B 12 29 10 36 87 89 31"},
  {"IComponent", "E831FF31 F2D54301 928EBBEE 25697802", "31 FF 31 E8 D5 F2 01 43 92 8E BB EE 25 69 78 02"},
  {"IAudioProcessor", "42043F99 B7DA453C A569E79D 9AAEC33D", "99 3F 04 42 DA B7 3C 45 A5 69 E7 9D 9A AE C3 3D"},
  {"IEditController", "DCD7BBE3 7742448D A874AACC 979C759E", "E3 BB D7 DC 42 77 8D 44 A8 74 AA CC 97 9C 75 9E"},
  {"IEditController2", "7F4EFE59 F3204967 AC27A3AE AFB63038", "59 FE 4E 7F 20 F3 67 49 AC 27 A3 AE AF B6 30 38"},
  {"IConnectionPoint", "70A4156F 6E6E4026 989148BF AA60D8D1", "6F 15 A4 70 6E 6E 26 40 98 91 48 BF AA 60 D8 D1"},
  {"IUnitInfo", "3D4BD6B5 913A4FD2 A886E768 A5EB92C1", "B5 D6 4B 3D 3A 91 D2 4F A8 86 E7 68 A5 EB 92 C1"},
  {"IMidiMapping", "DF0FF9F7 49B74669 B63AB732 7ADBF5E5", "F7 F9 0F DF B7 49 69 46 B6 3A B7 32 7A DB F5 E5"},
  {"IPlugView", "5BC32507 D06049EA A6151B52 2B755B29", "07 25 C3 5B 60 D0 EA 49 A6 15 1B 52 2B 75 5B 29"},
  {"IPlugFrame", "367FAF01 AFA94693 8D4DA2A0 ED0882A3", "01 AF 7F 36 A9 AF 93 46 8D 4D A2 A0 ED 08 82 A3"},
  {"IBStream", "C3BF6EA2 30994752 9B6BF990 1EE33E9B", "A2 6E BF C3 99 30 52 47 9B 6B F9 90 1E E3 3E 9B"},
  {"IParameterChanges", "A4779663 0BB64A56 B44384A8 466FEB9D", "63 96 77 A4 B6 0B 56 4A B4 43 84 A8 46 6F EB 9D"},
  {"IParamValueQueue", "01263A18 ED074F6F 98C9D356 4686F9BA", "18 3A 26 01 07 ED 6F 4F 98 C9 D3 56 46 86 F9 BA"},
  {"IEventList", "3A2C4214 346349FE B2C4F397 B9695A44", "14 42 2C 3A 63 34 FE 49 B2 C4 F3 97 B9 69 5A 44"},
  {"IComponentHandler", "93A0BEA3 0BD045DB 8E890B0C C1E46AC6", "A3 BE A0 93 D0 0B DB 45 8E 89 0B 0C C1 E4 6A C6"},
  {"IComponentHandler2", "F040B4B3 A36045EC ABCDC045 B4D5A2CC", "B3 B4 40 F0 60 A3 EC 45 AB CD C0 45 B4 D5 A2 CC"},
  {"IComponentHandler3", "69F11617 D26B400D A4B6B964 7B6EBBAB", "17 16 F1 69 6B D2 0D 40 A4 B6 B9 64 7B 6E BB AB"},
  {"IContextMenu", "2E93C863 0C9C4588 97DBECF5 AD17817D", "63 C8 93 2E 9C 0C 88 45 97 DB EC F5 AD 17 81 7D"},
  {"IContextMenuTarget", "3CDF2E75 85D34144 BF86D36B D7C4894D", "75 2E DF 3C D3 85 44 41 BF 86 D3 6B D7 C4 89 4D"},
  {"IHostApplication", "58E595CC DB2D4969 8B6AAF8C 36A664E5", "CC 95 E5 58 2D DB 69 49 8B 6A AF 8C 36 A6 64 E5"},
  {"IMessage", "936F033B C6C047DB BB0882F8 13C1E613", "3B 03 6F 93 C0 C6 DB 47 BB 08 82 F8 13 C1 E6 13"},
  {"IAttributeList", "1E5F0AEB CC7F4533 A2544011 38AD5EE4", "EB 0A 5F 1E 7F CC 33 45 A2 54 40 11 38 AD 5E E4"},
  {"IPlugViewContentScaleSupport", "65ED9690 8AC44525 8AADEF7A 72EA703F",
   "90 96 ED 65 C4 8A 25 45 8A AD EF 7A 72 EA 70 3F"},
  {"IProcessContextRequirements", "2A654303 EF764E3D 95B5FE83 730EF6D0",
   "03 43 65 2A 76 EF 3D 4E 95 B5 FE 83 73 0E F6 D0"},
  {"IUnitHandler", "4B5147F8 4654486B 8DAB30BA 163A3C56", "F8 47 51 4B 54 46 6B 48 8D AB 30 BA 16 3A 3C 56"},
  {"IDependent", "F52B7AAE DE72416D 8AF18ACE 9DD7BD5E", "AE 7A 2B F5 72 DE 6D 41 8A F1 8A CE 9D D7 BD 5E"},
  {"ISizeableStream", "04F9549E E02F4E6E 87E86A87 47F4E17F", "9E 54 F9 04 2F E0 6E 4E 87 E8 6A 87 47 F4 E1 7F"},
};
const std::size_t kKnownIdCount = sizeof kKnownIds / sizeof kKnownIds[0];

Id knownId(const char* name)
{
  for (const KnownId& k : kKnownIds)
    if (std::string(k.name) == name)
    {
#if defined(_WIN32)
      return idFromHex(k.windows);
#else
      return idFromHex(k.words);
#endif
    }
  throw std::invalid_argument(std::string("unknown interface ") + name);
}

const char* const kForeignIdWords[] = {
  "D6CE2FFC EFAF4B8C 9E74F1BB 12DA44B4",  // IStreamAttributes
  "0F618302 215D4587 A512073C 77B9D383",  // IParameterFinder
  "309ECE78 EB7D4FAE 8B2225D9 09FD08B6",  // IAudioPresentationLatency
  "C1271208 70594098 B9DD34B3 6BB0195E",  // IEditControllerHostEditing
  "6B2449CC 419740B5 AB3C79DA C5FE5C86",  // IMidiLearn
  "B7F8F859 41234872 91169581 4F3721A3",  // INoteExpressionController
  "1F2F76D3 BFFB4B96 B99527A5 5EBCCEF4",  // IKeyswitchController
  "8683B01F 7B354F70 A2651DEC 353AF4FF",  // IProgramListData
  "6C389611 D391455D B870B833 94A0EFDD",  // IUnitData
  "4AFD4B6A 35D7C240 A5C31414 FB7D15E6",  // IPluginCompatibility
};
const std::size_t kForeignIdCount = sizeof kForeignIdWords / sizeof kForeignIdWords[0];

std::string text8At(const void* record, std::size_t offset, std::size_t size)
{
  const auto* p = static_cast<const char*>(record) + offset;
  std::size_t n = 0;
  while (n < size && p[n] != 0)
    ++n;
  return std::string(p, n);
}

std::string text16At(const void* record, std::size_t offset, std::size_t units)
{
  std::string out;
  const auto* p = static_cast<const unsigned char*>(record) + offset;
  for (std::size_t i = 0; i < units; ++i)
  {
    const unsigned unit = p[2 * i] | unsigned(p[2 * i + 1]) << 8;
    if (unit == 0)
      break;
    out += unit < 0x80 ? static_cast<char>(unit) : '?';
  }
  return out;
}

GuardedRecord::GuardedRecord(std::size_t size, unsigned char fill)
  : mSize(size), mBytes(new unsigned char[size + kGuard])
{
  std::memset(mBytes, fill, size);
  std::memset(mBytes + size, 0xA5, kGuard);
}

GuardedRecord::~GuardedRecord()
{
  delete[] mBytes;
}

bool GuardedRecord::guardIntact() const
{
  for (std::size_t i = 0; i < kGuard; ++i)
    if (mBytes[mSize + i] != 0xA5)
      return false;
  return true;
}

}  // namespace rawabi
