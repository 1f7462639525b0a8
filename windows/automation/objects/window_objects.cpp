// SPDX-License-Identifier: MIT
// The Windows collection, a project's Window, and List, a list of texts.
#include <string>

#include "addin/host/error.h"
#include "windows/automation/objects/host_objects.h"
#include "windows/automation/objects/interface_ids.h"
#include "windows/automation/server/dispids.h"
#include "workbench/model/messages.h"

namespace lunavant::windows {
namespace {

class WindowsObject final : public HostObject {
 public:
  explicit WindowsObject(std::shared_ptr<Session> session)
      : HostObject(session, ObjectKind::kWindows, &session->App(), kWindowsIid) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    workbench::Application& app = App();
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT,
                             [&] { return app.ProjectCount(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM:
        return result.Object(
            WindowOf(shared_session(), &ProjectAtPosition(app, args.Long(0), "window")).get());
      default:
        NoSuchMember();
    }
  }
};

class WindowObject final : public HostObject {
 public:
  WindowObject(std::shared_ptr<Session> session, workbench::Project& project)
      : HostObject(std::move(session), ObjectKind::kWindow, &project.ProjectWindow(), kWindowIid),
        project_(project) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& /*args*/, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_WINDOW_CAPTION:
        return result.Text(project_.ProjectWindow().Caption());
      case DISPID_WINDOW_INDEX:
        return result.Long(App().IndexOf(project_));
      case DISPID_WINDOW_ACTIVATE: {
        const std::int32_t index = App().IndexOf(project_);
        if (index == 0) {
          host::Raise(host::kHostFailure, std::string(workbench::message::kProjectNotOpen));
        }
        return App().ActivateProject(index);
      }
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::Project& project_;
};

// A list of texts as it stood when asked for, positions from 1.
class ListObject final : public HostObject {
 public:
  ListObject(std::shared_ptr<Session> session, std::vector<std::string> items)
      : HostObject(std::move(session), ObjectKind::kList, nullptr, kListIid),
        items_(std::move(items)) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    const auto count = static_cast<std::int32_t>(items_.size());
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT, [&] { return count; }))
      return;
    switch (member) {
      case DISPID_LV_ITEM: {
        const std::int32_t position = args.Long(0);
        if (position < 1 || position > count) {
          host::Raise(host::kSubscriptOutOfRange,
                      workbench::message::NoSuchItem("item", position, count));
        }
        return result.Text(items_[static_cast<std::size_t>(position - 1)]);
      }
      default:
        NoSuchMember();
    }
  }

 private:
  std::vector<std::string> items_;
};

}  // namespace

ComPtr<IDispatch> WindowsOf(const std::shared_ptr<Session>& session) {
  return session->Find<WindowsObject>(ObjectKind::kWindows, &session->App(),
                                      [&] { return MakeObject<WindowsObject>(session); });
}

ComPtr<IDispatch> WindowOf(const std::shared_ptr<Session>& session, workbench::Project* project) {
  if (project == nullptr) return {};
  return session->Find<WindowObject>(ObjectKind::kWindow, &project->ProjectWindow(),
                                     [&] { return MakeObject<WindowObject>(session, *project); });
}

ComPtr<IDispatch> TextListOf(const std::shared_ptr<Session>& session,
                             std::vector<std::string> items) {
  return MakeObject<ListObject>(session, std::move(items));
}

}  // namespace lunavant::windows
