#pragma once
// A VST3 host built for Microsoft's ABI, seen from the MinGW test program: C functions whose
// bodies are compiled by clang for the MSVC target, with their own declarations of the
// interfaces and records. Only plain C types cross here, which both compilers lay out alike;
// no system header, so the MSVC-target translation unit can include it too.
//
// One host session at a time: open with the module's GetPluginFactory export, create an
// instance, start, process, move state, stop, close. Every function answers the module's
// result code (0 = kResultOk), or kMsVst3NotReady when the session is not at that step;
// tq_msvst3_last_call() names the last module operation called.

#ifdef __cplusplus
extern "C" {
#endif

enum
{
  kMsVst3NotReady = -99,
  kMsVst3MaxChannels = 2,
  kMsVst3StateCapacity = 1024
};

struct MsVst3FactoryFacts
{
  int factoryInfoResult;
  char vendor[64];
  int factoryFlags;
  int classCount;
  int classInfoResult;  // getClassInfo2 of class 0
  unsigned char cid[16];
  int cardinality;
  char category[32];
  char name[64];
  unsigned classFlags;
  char subCategories[128];
  char version[64];
  char sdkVersion[64];
  int sameFactoryAgain;              // a second GetPluginFactory gave the same object
  unsigned countAfterSecondRelease;  // the answer of releasing that second reference
};

struct MsVst3ParameterFacts
{
  unsigned id;
  char title[128];  // ASCII only, as narrowed by the host
  char units[128];
  int stepCount;
  double defaultNormalized;
  int unitId;
  int flags;
  int displayResult;  // getParamStringByValue of the default value
  char display[128];
};

struct MsVst3BusFacts
{
  int mediaType;
  int direction;
  int channelCount;
  char name[128];
  int busType;
  unsigned flags;
};

// The host's state calls in its save and load order and their answers.
struct MsVst3StateResults
{
  int componentGetState;
  int controllerGetState;
  int componentSetState;
  int controllerSetComponentState;
  int controllerSetState;
};

// Reference counts once the session is closed; every host object should be back at 1 (the
// host's own), the component and the factory at 0.
struct MsVst3Counts
{
  unsigned componentLeft;
  unsigned factoryLeft;
  int applicationReferences;
  int handlerReferences;
  int streamReferences;
  int changesReferences;
  int queueReferences;
  int handlerPerformEdits;
  int applicationNameCalls;
};

// The export GetPluginFactory, called here as the host's compiler calls it.
int tq_msvst3_open(void* getPluginFactory);
int tq_msvst3_factory(struct MsVst3FactoryFacts* out);
// createInstance(class 0, IComponent), initialize(host application), the processor and
// controller interfaces queried, the component handler set.
int tq_msvst3_create(void);
int tq_msvst3_parameter_count(void);
int tq_msvst3_parameter(int index, struct MsVst3ParameterFacts* out);
int tq_msvst3_bus(int mediaType, int direction, int index, struct MsVst3BusFacts* out);
// On the controller now, and as a change at offset 0 of the next block.
int tq_msvst3_set_parameter(unsigned id, double normalized);
double tq_msvst3_get_parameter(unsigned id);
// Bus arrangements of `channels` each way, the main buses activated, setupProcessing,
// setActive(true), setProcessing(true). Process calls carry a playing transport at `tempo`.
int tq_msvst3_start(int channels, int sampleSize, double sampleRate, int maxBlock, double tempo);
// One block; inputs and outputs point at `channels` channel arrays of floats or doubles, as
// the sample size given to tq_msvst3_start.
int tq_msvst3_process(void* const* inputs, void* const* outputs, int channels, int frames);
// Saves component and controller state into host streams; `controller` receives the
// controller stream's bytes. Answers the first refusal; kNotImplemented counts as success.
int tq_msvst3_save_state(struct MsVst3StateResults* results, unsigned char* controller, int capacity, int* size);
// Loads state as hosts do: component setState and the controller's setComponentState with an
// empty component stream, then the controller's setState with these bytes.
int tq_msvst3_load_state(struct MsVst3StateResults* results, const unsigned char* controller, int size);
// setProcessing(false), setActive(false).
int tq_msvst3_stop(void);
// terminate, every interface and the factory released; the counts left over.
int tq_msvst3_close(struct MsVst3Counts* out);
const char* tq_msvst3_last_call(void);

#ifdef __cplusplus
}
#endif
