#pragma once
// The host tool's state file: the state a plug-in saved, as one file: an 8-byte tag naming
// the plug-in format ("TQV3STAT", "TQV2STAT", "TQAXSTAT"), then the component part and the
// controller part, each as a 32-bit little-endian length and its bytes. Formats whose state
// is one chunk keep it in the component part.

#include <cstdint>
#include <string>
#include <vector>

namespace plughost {

// The states of the formats differ, so a file of one format is never handed to another.
enum class StateFormat
{
  Vst3,
  Vst2,
  Aax
};

const char* formatName(StateFormat format);

struct SavedState
{
  StateFormat format = StateFormat::Vst3;
  std::vector<std::uint8_t> component;
  std::vector<std::uint8_t> controller;
};

std::vector<std::uint8_t> encodeState(const SavedState& state);
// False with a reason for an unknown tag, a length beyond the data, or bytes left over.
bool decodeState(const std::vector<std::uint8_t>& bytes, SavedState& state, std::string& error);

bool writeStateFile(const std::string& path, const SavedState& state, std::string& error);
// Also false, naming both formats, when the file holds another format's state than expected.
bool readStateFile(const std::string& path, StateFormat expected, SavedState& state, std::string& error);

}  // namespace plughost
