#pragma once

#include "framework/core/IPlugEditor.h"

#include <vector>

// An editor for tests: records the values pushed to it.
class RecordingEditor : public IPlugEditor
{
public:
  struct Push
  {
    int paramIdx;
    double value;
    bool normalised;
  };

  // deleted is set when the editor is destroyed, so tests can check ownership.
  explicit RecordingEditor(bool* deleted = nullptr) : mDeleted(deleted) {}
  ~RecordingEditor() override
  {
    if (mDeleted)
      *mDeleted = true;
  }

  void PushParamToControls(int paramIdx, double value, bool normalised) override
  {
    pushes.push_back({paramIdx, value, normalised});
  }
  void CreateDrawSurfaces() override { ++surfacesMade; }

  std::vector<Push> pushes;
  int surfacesMade = 0;

private:
  bool* mDeleted;
};
