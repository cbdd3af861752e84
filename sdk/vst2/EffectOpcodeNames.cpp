#include "sdk/vst2/AEffect.h"

namespace vst2 {

namespace {
struct OpcodeName
{
  int32_t opcode;
  const char* name;
};

// Each name is its enumerator's own spelling.
#define TQ_OPCODE(op)                                                                                                  \
  {                                                                                                                    \
    op, #op                                                                                                            \
  }
constexpr OpcodeName kOpcodeNames[] = {
  TQ_OPCODE(effOpen),
  TQ_OPCODE(effClose),
  TQ_OPCODE(effSetProgram),
  TQ_OPCODE(effGetProgram),
  TQ_OPCODE(effSetProgramName),
  TQ_OPCODE(effGetProgramName),
  TQ_OPCODE(effGetParamLabel),
  TQ_OPCODE(effGetParamDisplay),
  TQ_OPCODE(effGetParamName),
  TQ_OPCODE(effSetSampleRate),
  TQ_OPCODE(effSetBlockSize),
  TQ_OPCODE(effMainsChanged),
  TQ_OPCODE(effEditGetRect),
  TQ_OPCODE(effEditOpen),
  TQ_OPCODE(effEditClose),
  TQ_OPCODE(effEditIdle),
  TQ_OPCODE(effIdentify),
  TQ_OPCODE(effGetChunk),
  TQ_OPCODE(effSetChunk),
  TQ_OPCODE(effProcessEvents),
  TQ_OPCODE(effCanBeAutomated),
  TQ_OPCODE(effString2Parameter),
  TQ_OPCODE(effGetProgramNameIndexed),
  TQ_OPCODE(effGetInputProperties),
  TQ_OPCODE(effGetOutputProperties),
  TQ_OPCODE(effGetPlugCategory),
  TQ_OPCODE(effSetSpeakerArrangement),
  TQ_OPCODE(effSetBypass),
  TQ_OPCODE(effGetEffectName),
  TQ_OPCODE(effGetVendorString),
  TQ_OPCODE(effGetProductString),
  TQ_OPCODE(effGetVendorVersion),
  TQ_OPCODE(effVendorSpecific),
  TQ_OPCODE(effCanDo),
  TQ_OPCODE(effGetTailSize),
  TQ_OPCODE(effIdle),
  TQ_OPCODE(effGetVstVersion),
  TQ_OPCODE(effGetMidiKeyName),
  TQ_OPCODE(effGetSpeakerArrangement),
};
#undef TQ_OPCODE
}  // namespace

const char* EffectOpcodeName(int32_t opcode)
{
  for (const OpcodeName& entry : kOpcodeNames)
  {
    if (entry.opcode == opcode)
      return entry.name;
  }
  return "unknown";
}

}  // namespace vst2
