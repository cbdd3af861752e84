#include "tools/plughost/HostTool.h"

#include "hosts/aax/ModuleLoader.h"
#include "hosts/common/SharedLibrary.h"
#include "tools/plughost/AaxSession.h"
#include "tools/plughost/Vst2Session.h"
#include "tools/plughost/Vst3Session.h"

namespace plughost {

int runHost(const HostOptions& options, std::ostream& out, std::ostream& err)
{
  // Held open for the whole run, so that asking the module which format it is and then
  // loading it as that format runs its initialisers once, as a host does. A bundle of
  // another format simply is not held.
  std::string ignored;
  const auto held = hostcommon::SharedLibrary::Open(aaxhost::Module::Resolve(options.modulePath), ignored);
  if (isAaxModule(options.modulePath))
    return runAaxHost(options, out, err);
  if (isVst2Module(options.modulePath))
    return runVst2Host(options, out, err);
  return runVst3Host(options, out, err);
}

}  // namespace plughost
