// SPDX-License-Identifier: MIT
// A project's task tables and their columns: Tables, Table, TableFields and TableField.
#include <string>

#include "addin/host/error.h"
#include "windows/automation/objects/host_objects.h"
#include "windows/automation/objects/interface_ids.h"
#include "windows/automation/server/dispids.h"
#include "workbench/model/messages.h"
#include "workbench/model/table.h"

namespace lunavant::windows {
namespace {

// TableFields.Add's defaults: right-aligned data, 10 characters wide, a centred title.
constexpr std::int32_t kDefaultAlign = 2;
constexpr std::int32_t kDefaultWidth = 10;
constexpr std::int32_t kDefaultTitleAlign = 1;

// One column as it stood when handed out: columns shift as others come and go, so a field object
// names its column by position and field, and refuses to act once they no longer agree.
class TableFieldObject final : public HostObject {
 public:
  TableFieldObject(std::shared_ptr<Session> session, workbench::Table& table, std::int32_t position)
      : HostObject(std::move(session), ObjectKind::kTableField, nullptr, kTableFieldIid),
        table_(table),
        position_(position),
        field_(table.Columns().Item(position).Field()) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& /*args*/, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_TABLEFIELD_FIELD:
        return result.Long(field_);
      case DISPID_TABLEFIELD_INDEX:
        return result.Long(position_);
      case DISPID_TABLEFIELD_TITLE:
        return result.Text(Current().Title());
      case DISPID_TABLEFIELD_DELETE:
        Current();
        return table_.Columns().Delete(position_);
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::Column& Current() {
    workbench::ColumnList& columns = table_.Columns();
    if (position_ > columns.Count() || columns.Item(position_).Field() != field_) {
      host::Raise(host::kHostFailure, "The column is no longer in the table.");
    }
    return columns.Item(position_);
  }

  workbench::Table& table_;
  std::int32_t position_;
  host::FieldId field_;
};

class TableFieldsObject final : public HostObject {
 public:
  TableFieldsObject(std::shared_ptr<Session> session, workbench::Table& table)
      : HostObject(std::move(session), ObjectKind::kTableFields, &table, kTableFieldsIid),
        table_(table) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    workbench::ColumnList& columns = table_.Columns();
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT,
                             [&] { return columns.Count(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM: {
        const std::int32_t position = args.Long(0);
        columns.Item(position);  // fails outside 1..Count
        return result.Object(
            MakeObject<TableFieldObject>(shared_session(), table_, position).get());
      }
      case DISPID_COLLECTION_ADD: {
        const std::int32_t before = args.OptionalLong(5).value_or(columns.Count() - 2);
        columns.Add(args.Long(0), args.OptionalLong(1).value_or(kDefaultAlign),
                    args.OptionalLong(2).value_or(kDefaultWidth), args.OptionalText(3).value_or(""),
                    args.OptionalLong(4).value_or(kDefaultTitleAlign), before,
                    args.OptionalBool(6).value_or(false));
        // The column list's own numbering: the new column stands at before + 3.
        return result.Object(
            MakeObject<TableFieldObject>(shared_session(), table_, before + 3).get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::Table& table_;
};

class TableObject final : public HostObject {
 public:
  TableObject(std::shared_ptr<Session> session, workbench::Table& table)
      : HostObject(std::move(session), ObjectKind::kTable, &table, kTableIid), table_(table) {}

 protected:
  void Call(DISPID member, WORD flags, const Arguments& /*args*/, Result& result) override {
    if (CallCommon(member, flags, result)) return;
    if (!Reads(flags)) NoSuchMember();
    switch (member) {
      case DISPID_TABLE_NAME:
        return result.Text(table_.Name());
      case DISPID_TABLE_TABLEFIELDS:
        return result.Object(
            session()
                .Find<TableFieldsObject>(
                    ObjectKind::kTableFields, &table_,
                    [&] { return MakeObject<TableFieldsObject>(shared_session(), table_); })
                .get());
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::Table& table_;
};

class TablesObject final : public HostObject {
 public:
  TablesObject(std::shared_ptr<Session> session, workbench::Project& project)
      : HostObject(std::move(session), ObjectKind::kTables, &project, kTablesIid),
        project_(project) {}

 protected:
  ComPtr<IDispatch> ParentObject() override { return ProjectOf(shared_session(), &project_); }

  void Call(DISPID member, WORD flags, const Arguments& args, Result& result) override {
    if (CallCollectionCommon(member, flags, result, DISPID_COLLECTION_COUNT,
                             [&] { return project_.TaskTableCount(); }))
      return;
    switch (member) {
      case DISPID_LV_ITEM: {
        const VARIANT& index = args.Required(0);
        workbench::Table& table = Arguments::IsText(index)
                                      ? project_.TaskTable(Arguments::TextOf(index))
                                      : project_.TaskTable(Arguments::LongOf(index));
        return result.Object(
            session()
                .Find<TableObject>(ObjectKind::kTable, &table,
                                   [&] { return MakeObject<TableObject>(shared_session(), table); })
                .get());
      }
      default:
        NoSuchMember();
    }
  }

 private:
  workbench::Project& project_;
};

}  // namespace

ComPtr<IDispatch> TaskTablesOf(const std::shared_ptr<Session>& session,
                               workbench::Project& project) {
  return session->Find<TablesObject>(ObjectKind::kTables, &project,
                                     [&] { return MakeObject<TablesObject>(session, project); });
}

}  // namespace lunavant::windows
