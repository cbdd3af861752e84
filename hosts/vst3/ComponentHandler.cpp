#include "hosts/vst3/ComponentHandler.h"

namespace vst3host {

vst3::tresult PLUGIN_API ContextMenu::getItem(vst3::int32, vst3::IContextMenuItem&, vst3::IContextMenuTarget** target)
{
  if (target != nullptr)
    *target = nullptr;
  return vst3::kResultFalse;
}

vst3::tresult PLUGIN_API ContextMenu::addItem(const vst3::IContextMenuItem&, vst3::IContextMenuTarget*)
{
  return vst3::kResultFalse;
}

vst3::tresult PLUGIN_API ContextMenu::removeItem(const vst3::IContextMenuItem&, vst3::IContextMenuTarget*)
{
  return vst3::kResultFalse;
}

vst3::tresult PLUGIN_API ContextMenu::popup(vst3::UCoord x, vst3::UCoord y)
{
  std::lock_guard<std::mutex> guard(mLock);
  mPopups.push_back({x, y});
  return vst3::kResultOk;
}

std::vector<ContextMenu::Popup> ContextMenu::popups() const
{
  std::lock_guard<std::mutex> guard(mLock);
  return mPopups;
}

void ComponentHandler::record(Kind kind, vst3::ParamID id, vst3::ParamValue value, vst3::int32 flags)
{
  std::lock_guard<std::mutex> guard(mLock);
  mCalls.push_back({kind, id, value, flags, std::this_thread::get_id()});
}

vst3::tresult PLUGIN_API ComponentHandler::beginEdit(vst3::ParamID id)
{
  record(Kind::Begin, id, 0.0, 0);
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API ComponentHandler::performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized)
{
  record(Kind::Perform, id, valueNormalized, 0);
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API ComponentHandler::endEdit(vst3::ParamID id)
{
  record(Kind::End, id, 0.0, 0);
  return vst3::kResultOk;
}

vst3::tresult PLUGIN_API ComponentHandler::restartComponent(vst3::int32 flags)
{
  record(Kind::Restart, 0, 0.0, flags);
  mPendingRestarts.fetch_or(flags);
  return vst3::kResultOk;
}

vst3::IContextMenu* PLUGIN_API ComponentHandler::createContextMenu(vst3::IPlugView* view, const vst3::ParamID* paramID)
{
  if (view == nullptr)
    return nullptr;  // the view is required
  {
    std::lock_guard<std::mutex> guard(mLock);
    mMenuRequests.push_back(paramID != nullptr ? *paramID : vst3::kNoParamId);
  }
  mMenu.addRef();
  return &mMenu;
}

std::vector<ComponentHandler::Call> ComponentHandler::calls() const
{
  std::lock_guard<std::mutex> guard(mLock);
  return mCalls;
}

std::vector<vst3::ParamID> ComponentHandler::menuRequests() const
{
  std::lock_guard<std::mutex> guard(mLock);
  return mMenuRequests;
}

void ComponentHandler::clear()
{
  std::lock_guard<std::mutex> guard(mLock);
  mCalls.clear();
  mMenuRequests.clear();
}

bool ComponentHandler::gesturesBalanced(vst3::ParamID id) const
{
  std::lock_guard<std::mutex> guard(mLock);
  bool open = false;
  for (const Call& c : mCalls)
  {
    if (c.id != id || c.kind == Kind::Restart)
      continue;
    if (c.kind == Kind::Begin)
    {
      if (open)
        return false;
      open = true;
    }
    else if (c.kind == Kind::End)
    {
      if (!open)
        return false;
      open = false;
    }
    else if (!open)
    {
      return false;
    }
  }
  return !open;
}

bool ComponentHandler::offers(const vst3::TUID iid) const
{
  return mWithMenus || !vst3::iidEqual(iid, vst3::IComponentHandler3::iid);
}

}  // namespace vst3host
