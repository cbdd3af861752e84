#pragma once
// The host tool's state file: the component state and the controller state a plug-in saved,
// as one file: "TQV3STAT", then each part as a 32-bit little-endian length and its bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace plughost {

struct SavedState
{
  std::vector<std::uint8_t> component;
  std::vector<std::uint8_t> controller;
};

std::vector<std::uint8_t> encodeState(const SavedState& state);
// False with a reason for a wrong tag, a length beyond the data, or bytes left over.
bool decodeState(const std::vector<std::uint8_t>& bytes, SavedState& state, std::string& error);

bool writeStateFile(const std::string& path, const SavedState& state, std::string& error);
bool readStateFile(const std::string& path, SavedState& state, std::string& error);

}  // namespace plughost
