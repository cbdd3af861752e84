// A system function answered by the test: for what Wine cannot be made to do (report no
// network) or must not do in a test run (start a browser).
#pragma once

// Points this program's calls of a function it imports from a system library at a
// replacement while it lives. Code linked into the program (the editor framework in a test)
// is covered; other modules are not.
class ImportPatch
{
public:
  ImportPatch(const char* library, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  bool Applied() const { return mSlot != nullptr; }

private:
  void Write(void* value);

  void** mSlot = nullptr;
  void* mOriginal = nullptr;
};
