#include "framework/bindings/aax/AAX_CEffectGUI.h"

#include "framework/bindings/aax/AAX_CString.h"
#include "framework/bindings/aax/IPlugAAX.h"

#include <new>

// ---- AAX_CEffectGUI ----------------------------------------------------------------------------

AAX_CEffectGUI::~AAX_CEffectGUI()
{
  // A host that released the editor without stopping it still gets its references back.
  EndInstance();
}

ACFResult ACF_STDCALL AAX_CEffectGUI::QueryInterface(const ACFGuid& iid, void** out)
{
  return ControllingUnknown()->QueryInterface(iid, out);
}

uint32_t ACF_STDCALL AAX_CEffectGUI::AddRef()
{
  return ControllingUnknown()->AddRef();
}

uint32_t ACF_STDCALL AAX_CEffectGUI::Release()
{
  return ControllingUnknown()->Release();
}

ACFResult AAX_CEffectGUI::InnerQueryInterface(const ACFGuid& iid, void** out)
{
  if (out && iid == AAX_IACFEffectGUI::kIID)
  {
    auto* face = static_cast<AAX_IACFEffectGUI*>(this);
    *out = face;
    face->AddRef();
    return kAAX_Success;
  }
  return CACFUnknown::InnerQueryInterface(iid, out);
}

ACFResult AAX_CEffectGUI::StartInstance(IACFUnknown* hostObject)
{
  return GuardedHostCall([&] {
    // A second start gives back what the first one took.
    EndInstance();
    mController.reset(new (std::nothrow) AAX_VController(hostObject));
    if (!hostObject || !mController)
      return kAAX_ErrNoHostObjects;
    mEffectParameters.QueryFrom(hostObject);
    mTransport.reset(new (std::nothrow) AAX_VTransport(hostObject));
    MakeViewContents();
    return kAAX_Success;
  });
}

ACFResult AAX_CEffectGUI::StopInstance()
{
  return GuardedHostCall([&] {
    EndInstance();
    return kAAX_Success;
  });
}

void AAX_CEffectGUI::EndInstance()
{
  // Nothing that belongs to the instance is kept past its stop: the window closes while the
  // instance's editor still exists.
  CloseViewContainer();
  ReleaseViewContents();
  mEffectParameters.Reset();
  mController.reset();
  mTransport.reset();
}

ACFResult AAX_CEffectGUI::AttachViewContainer(IACFUnknown* viewHost)
{
  return GuardedHostCall([&] {
    CloseViewContainer();
    if (!viewHost)
      return kAAX_Success;
    mViewContainer.reset(new (std::nothrow) AAX_VViewContainer(viewHost));
    if (!mViewContainer)
      return kAAX_Success;
    MakeViewContainer();
    AnnounceParameters();
    return kAAX_Success;
  });
}

void AAX_CEffectGUI::CloseViewContainer()
{
  if (!mViewContainer)
    return;
  DropViewContainer();
  mViewContainer.reset();
}

void AAX_CEffectGUI::AnnounceParameters()
{
  AAX_IACFEffectParameters* parameters = ParametersInterface();
  int32_t count = 0;
  if (!parameters || parameters->CountParameters(&count) != kAAX_Success)
    return;
  for (int32_t i = 0; i < count; ++i)
  {
    AAX_CString id;
    if (parameters->CopyParameterIdAt(i, &id) == kAAX_Success)
      ParameterNotice(id.Chars());
  }
}

void* AAX_CEffectGUI::ContainerWindow() const
{
  return mViewContainer ? mViewContainer->NativeWindow() : nullptr;
}

// ---- AAX_CEffectGUI_IPLUG ------------------------------------------------------------------------

AAX_CEffectGUI_IPLUG::~AAX_CEffectGUI_IPLUG()
{
  CloseViewContainer();
  ReleaseViewContents();
}

void AAX_CEffectGUI_IPLUG::MakeViewContents()
{
  // Only an instance of this module is taken for a plug-in: the host could hand back any
  // object.
  mPlug = dynamic_cast<IPlugAAX*>(AAX_CIPlugParameters::FromInterface(ParametersInterface()));
  mGraphics = mPlug ? dynamic_cast<IGraphics*>(mPlug->Editor()) : nullptr;
}

void AAX_CEffectGUI_IPLUG::ReleaseViewContents()
{
  mGraphics = nullptr;
  mPlug = nullptr;
}

void AAX_CEffectGUI_IPLUG::MakeViewContainer()
{
  void* window = ContainerWindow();
  if (!window || !mGraphics)
    return;
  mPlug->AttachHostView(ViewContainer());
  mGraphics->SetHostClickFilter(this);
  mGraphics->OpenInParent(window);
}

void AAX_CEffectGUI_IPLUG::DropViewContainer()
{
  if (!mGraphics)
    return;
  // The editor forgets the container before its window goes.
  mGraphics->SetHostClickFilter(nullptr);
  mPlug->AttachHostView(nullptr);
  mGraphics->CloseView();
}

ACFResult AAX_CEffectGUI_IPLUG::QueryViewSize(AAX_Point* size)
{
  if (!size)
    return kAAX_ErrBadTextOrOutput;
  if (mGraphics)
  {
    size->vertical = float(mGraphics->Height());
    size->horizontal = float(mGraphics->Width());
  }
  return kAAX_Success;
}

bool AAX_CEffectGUI_IPLUG::HostTakesClick(int paramIdx, const PointerModifiers& mods)
{
  AAX_IViewContainer* view = ViewContainer();
  const char* id = mPlug ? mPlug->ParamId(paramIdx) : nullptr;
  if (!view || !id)
    return false;
  uint32_t hostModifiers = 0;
  if (view->CurrentModifiers(&hostModifiers) != kAAX_Success)
    hostModifiers = 0;
  const uint32_t mask = (mods.alt ? kClickAlt : 0) | (mods.control ? kClickControl : 0) |
                        (mods.shift ? kClickShift : 0) | (mods.right ? kClickRight : 0) | hostModifiers;
  return view->ForwardParameterClick(id, mask) == kAAX_Success;
}

IACFUnknown* CreateEffectGUI()
{
  try
  {
    return static_cast<AAX_IACFEffectGUI*>(new (std::nothrow) AAX_CEffectGUI_IPLUG);
  }
  catch (...)
  {
    return nullptr;
  }
}
