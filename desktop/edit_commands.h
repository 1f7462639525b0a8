// SPDX-License-Identifier: MIT
// Edit > Undo, Redo, Cut, Copy and Paste on the active project's task sheet. Cells travel as
// tab-separated text, a line per row, as spreadsheets put them on the clipboard; a pasted block
// is typed into the sheet cell by cell through the host (so a Hijri date pasted into a Hijri
// column reaches the add-in as typed text) and is undone in one step.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

class QTableView;

namespace lunavant::desktop {

class MainWindow;
class ProjectView;

// Rows of cells from tab-separated text: lines end in "\n" or "\r\n", a last empty line is no
// row, and a cell in double quotes (as spreadsheets quote a cell holding a tab, a line break or
// a quote) loses its quotes and has its doubled quotes made single.
std::vector<QStringList> ParseTabSeparated(const QString& text);
// The other way round; a cell that needs quotes gets them.
QString ToTabSeparated(const std::vector<QStringList>& rows);

class EditCommands : public QObject {
  Q_OBJECT

 public:
  explicit EditCommands(MainWindow& window);

  // Each acts on the active project's sheet; false when there is none or nothing to do.
  bool copy(ProjectView& view) const;
  bool cut(ProjectView& view);
  bool paste(ProjectView& view, const QString& text);
  bool undo(ProjectView& view);
  bool redo(ProjectView& view);
  // Makes the next cell after the current one (row by row, from the top again after the last)
  // whose text holds `text`, without regard to letter case, the current cell; false when none.
  bool findNext(ProjectView& view, const QString& text);

 public slots:
  void copyCurrent();
  void cutCurrent();
  void pasteCurrent();
  void undoCurrent();
  void redoCurrent();
  // Asks what to find, then finds it; Find Next finds the same again.
  void findCurrent();
  void findNextCurrent();
  // Enables Undo and Redo as the active project's history allows, naming the step.
  void updateActions();

 private:
  MainWindow& window_;
  QString sought_;
};

}  // namespace lunavant::desktop
