#pragma once

#include "hosts/aax/HostObject.h"
#include "sdk/aax/HostCollectionInterface.h"

#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace aaxhost {

// A description object or the host services, made by the registration host's factory.
class MadeObject : public HostObject
{
public:
  using HostObject::HostObject;

  // Properties a property map holds, by number.
  std::map<uint32_t, uint32_t> properties;
  // Procedures an effect descriptor was given, by procedure id; the process procedure a
  // component was given.
  std::map<uint32_t, ACFProcedure> procedures;
  ACFProcedure processProcedure = nullptr;

  template <typename Face, typename... A>
  Face* AddFace(const ACFGuid& iid, const std::string& label, A&&... arguments)
  {
    auto face = std::make_unique<Face>(*this, label, std::forward<A>(arguments)...);
    Face* raw = face.get();
    Offer(iid, raw, label);
    mFaces.push_back(std::move(face));
    return raw;
  }
  using HostObject::Offer;

private:
  std::vector<std::unique_ptr<HostFaceBase>> mFaces;
};

// The host object a host hands the module at start-up and registration. Its component
// factory ("Factory") makes the description objects and the host services by class id; each
// made object is labelled by its kind and number ("Collection1", "Effect1", "Component2",
// "Map3", "Services1"), its second interface by the label and "/2". Made objects start with
// the one reference the factory hands over and live as long as the host.
class RegistrationHost : public HostObject
{
public:
  explicit RegistrationHost(CallLog& log);
  ~RegistrationHost() override;

  // The factory query succeeds but hands over no factory.
  bool nullFactory = false;
  // Made objects do not offer their second interface.
  bool withholdSecondInterfaces = false;
  // Interfaces the collection answers besides its own, each with a label for the log.
  std::vector<std::pair<ACFGuid, std::string>> extraCollectionInterfaces;

  const std::vector<std::unique_ptr<MadeObject>>& Made() const { return mMade; }
  // The made object with this label, or null.
  MadeObject* Find(const std::string& label) const;
  // The procedure of that id the module registered on its first effect, or null.
  ACFProcedure Procedure(uint32_t procedureId) const;
  // The process procedure of the effect's first component, or null.
  ACFProcedure ProcessProcedure() const;

  ACFResult ACF_STDCALL QueryInterface(const ACFGuid& iid, void** out) override;

private:
  class FactoryFace;

  ACFResult CreateInstance(const ACFGuid& classId, const ACFGuid& iid, void** out);
  MadeObject& Make(const std::string& kind);

  std::unique_ptr<FactoryFace> mFactory;
  std::vector<std::unique_ptr<MadeObject>> mMade;
  std::map<std::string, int> mCounts;
};
}  // namespace aaxhost
