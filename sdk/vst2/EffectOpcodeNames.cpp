#include "sdk/vst2/AEffect.h"

namespace vst2 {

const char* EffectOpcodeName(int32_t opcode)
{
  switch (opcode)
  {
  case effOpen:
    return "effOpen";
  case effClose:
    return "effClose";
  case effSetProgram:
    return "effSetProgram";
  case effGetProgram:
    return "effGetProgram";
  case effSetProgramName:
    return "effSetProgramName";
  case effGetProgramName:
    return "effGetProgramName";
  case effGetParamLabel:
    return "effGetParamLabel";
  case effGetParamDisplay:
    return "effGetParamDisplay";
  case effGetParamName:
    return "effGetParamName";
  case effSetSampleRate:
    return "effSetSampleRate";
  case effSetBlockSize:
    return "effSetBlockSize";
  case effMainsChanged:
    return "effMainsChanged";
  case effEditGetRect:
    return "effEditGetRect";
  case effEditOpen:
    return "effEditOpen";
  case effEditClose:
    return "effEditClose";
  case effEditIdle:
    return "effEditIdle";
  case effIdentify:
    return "effIdentify";
  case effGetChunk:
    return "effGetChunk";
  case effSetChunk:
    return "effSetChunk";
  case effProcessEvents:
    return "effProcessEvents";
  case effCanBeAutomated:
    return "effCanBeAutomated";
  case effString2Parameter:
    return "effString2Parameter";
  case effGetProgramNameIndexed:
    return "effGetProgramNameIndexed";
  case effGetInputProperties:
    return "effGetInputProperties";
  case effGetOutputProperties:
    return "effGetOutputProperties";
  case effGetPlugCategory:
    return "effGetPlugCategory";
  case effSetSpeakerArrangement:
    return "effSetSpeakerArrangement";
  case effSetBypass:
    return "effSetBypass";
  case effGetEffectName:
    return "effGetEffectName";
  case effGetVendorString:
    return "effGetVendorString";
  case effGetProductString:
    return "effGetProductString";
  case effGetVendorVersion:
    return "effGetVendorVersion";
  case effVendorSpecific:
    return "effVendorSpecific";
  case effCanDo:
    return "effCanDo";
  case effGetTailSize:
    return "effGetTailSize";
  case effIdle:
    return "effIdle";
  case effGetVstVersion:
    return "effGetVstVersion";
  case effGetMidiKeyName:
    return "effGetMidiKeyName";
  case effGetSpeakerArrangement:
    return "effGetSpeakerArrangement";
  default:
    return "unknown";
  }
}

}  // namespace vst2
