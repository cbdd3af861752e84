#pragma once

// The functions through which a test program drives an AAX module from the side of a host
// built with Microsoft's compiler. Compiled by both compilers: plain C types only.

extern "C" {

// The module's seven entry points, as the loader found them.
struct TqAaxEntries
{
  void* startup;
  void* shutdown;
  void* canUnloadNow;
  void* getSdkVersion;
  void* registerPlugin;
  void* registerComponent;
  void* getClassFactory;
};

// A text the host side writes for the test: lines ending in '\n', always terminated.
struct TqAaxText
{
  char* chars;
  int capacity;
};

// What the exports answered, start-up to shut-down around one registration.
struct TqAaxExportsReport
{
  int startup;
  int sdkVersionResult;
  unsigned long long sdkVersion;
  int registerComponent;
  int componentGiven;
  int classFactory;
  int classFactoryGiven;
  int registerPlugin;
  int definitionGiven;
  int liveAtEnd;
  int shutdown;
  // Host objects whose references did not all come back, 0 when all did.
  int unbalancedHostObjects;
};

// Start-up and registration with the host's objects; log: every call they received up to the
// end of registration, one a line; then the definition is released and the module shut down.
// A result other than 0 names the step that could not go on.
int tq_msabi_aax_exports(const struct TqAaxEntries* entries, struct TqAaxExportsReport* report, struct TqAaxText log);

// One instance's whole life, from creation to its release.
struct TqAaxInstanceReport
{
  int created;
  int started;
  int parameterCount;
  // Value set through the parameter's change (the host answers the request by applying it),
  // read back as normalised and as text.
  double valueSet;
  double valueRead;
  // The state chunk: measured size, written bytes' size, restore result, value after it.
  int chunkId;
  int chunkSize;
  int chunkWritten;
  int chunkRead;
  double valueRestored;
  int chunkMatches;
  // The parameter object the module found, called through its table.
  int parameterFound;
  int parameterAutomatable;
  unsigned parameterSteps;
  int parameterKind;
  double parameterNormalized;
  int parameterRequests;
  // Typed reads through references: the value in its units as a double, refused as a bool.
  int parameterReadsDouble;
  double parameterReal;
  int parameterReadsBool;
  int stopped;
  int enrolled;
  int withdrawn;
  int liveAtEnd;
  int unbalancedHostObjects;
};

// Starts an instance at the sample rate with stereo stems; texts: per parameter one line
// "<id>|<name>|<current value text>|<text of 0>|<text of 1>"; then sets `valueId` to
// `value` through the module's parameter change, writes and reads back the state chunk,
// calls the parameter object `valueId` names, stops and releases everything.
int tq_msabi_aax_instance(const struct TqAaxEntries* entries, double sampleRate, const char* valueId, double value,
                          struct TqAaxInstanceReport* report, struct TqAaxText texts);

// A render through the registered procedure: an instance with `channels` stems at the sample
// rate, the parameter `valueId` applied by the host, the input rendered in blocks with the
// transport playing at 120 beats per minute, 4/4. Returns 0 or the failing step.
int tq_msabi_aax_render(const struct TqAaxEntries* entries, double sampleRate, int channels, const char* valueId,
                        double value, float* const* input, float* const* output, int frames, int blockSize);

// The editor object made through its procedure for a started instance, started, asked its
// size, attached to a view container in the host's window, detached, stopped and released.
struct TqAaxEditorReport
{
  int created;
  int started;
  int sizeResult;
  float width;
  float height;
  int attached;
  int detached;
  int stopped;
  int liveAtEnd;
  int unbalancedHostObjects;
};

// Called while the editor is attached, with the context the test gave.
typedef void (*TqAaxWhileAttached)(void* context);

// log: every call the host's objects received, one a line.
int tq_msabi_aax_editor(const struct TqAaxEntries* entries, void* window, TqAaxWhileAttached whileAttached,
                        void* context, struct TqAaxEditorReport* report, struct TqAaxText log);
}
