#include "tools/plughost/HostTool.h"

#include "tools/plughost/AaxSession.h"
#include "tools/plughost/Vst2Session.h"
#include "tools/plughost/Vst3Session.h"

namespace plughost {

int runHost(const HostOptions& options, std::ostream& out, std::ostream& err)
{
  if (isAaxModule(options.modulePath))
    return runAaxHost(options, out, err);
  if (isVst2Module(options.modulePath))
    return runVst2Host(options, out, err);
  return runVst3Host(options, out, err);
}

}  // namespace plughost
