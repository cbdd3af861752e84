#pragma once
// The host's component handler: records every edit and restart request the plug-in sends,
// with the thread it came from, and (optionally) offers the context-menu extension.

#include "sdk/vst3/IEditController.h"
#include "hosts/vst3/HostObject.h"

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace vst3host {

// The menu a host pops up for a parameter; records where it was asked to appear.
class ContextMenu : public HostObject<vst3::IContextMenu>
{
public:
  vst3::int32 PLUGIN_API getItemCount() override { return 0; }
  vst3::tresult PLUGIN_API getItem(vst3::int32, vst3::IContextMenuItem&, vst3::IContextMenuTarget**) override;
  vst3::tresult PLUGIN_API addItem(const vst3::IContextMenuItem&, vst3::IContextMenuTarget*) override;
  vst3::tresult PLUGIN_API removeItem(const vst3::IContextMenuItem&, vst3::IContextMenuTarget*) override;
  vst3::tresult PLUGIN_API popup(vst3::UCoord x, vst3::UCoord y) override;

  struct Popup
  {
    vst3::UCoord x;
    vst3::UCoord y;
  };
  std::vector<Popup> popups() const;

private:
  mutable std::mutex mLock;
  std::vector<Popup> mPopups;
};

class ComponentHandler : public HostObject<vst3::IComponentHandler, vst3::IComponentHandler3>
{
public:
  enum class Kind
  {
    Begin,
    Perform,
    End,
    Restart
  };
  struct Call
  {
    Kind kind;
    vst3::ParamID id;        // 0 for restarts
    vst3::ParamValue value;  // performEdit only
    vst3::int32 flags;       // restartComponent only
    std::thread::id thread;
  };

  // withMenus: whether the handler answers IComponentHandler3 (hosts differ).
  explicit ComponentHandler(bool withMenus = true) : mWithMenus(withMenus) {}

  vst3::tresult PLUGIN_API beginEdit(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API performEdit(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
  vst3::tresult PLUGIN_API endEdit(vst3::ParamID id) override;
  vst3::tresult PLUGIN_API restartComponent(vst3::int32 flags) override;
  // Hands out the handler's one menu with a reference the plug-in must release.
  vst3::IContextMenu* PLUGIN_API createContextMenu(vst3::IPlugView* view, const vst3::ParamID* paramID) override;

  std::vector<Call> calls() const;
  void clear();
  // The restart flags requested since the last call (a host answers them between blocks).
  vst3::int32 takeRestartFlags() { return mPendingRestarts.exchange(0); }
  // Edits of id with an end for every begin, never nested, and performs only inside them.
  bool gesturesBalanced(vst3::ParamID id) const;
  ContextMenu& menu() { return mMenu; }
  // Parameters that createContextMenu was called for (kNoParamId for a null id).
  std::vector<vst3::ParamID> menuRequests() const;

protected:
  bool offers(const vst3::TUID iid) const override;

private:
  void record(Kind kind, vst3::ParamID id, vst3::ParamValue value, vst3::int32 flags);

  const bool mWithMenus;
  mutable std::mutex mLock;
  std::vector<Call> mCalls;
  std::vector<vst3::ParamID> mMenuRequests;
  std::atomic<vst3::int32> mPendingRestarts{0};
  ContextMenu mMenu;
};

}  // namespace vst3host
