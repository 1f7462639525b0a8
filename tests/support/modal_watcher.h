// SPDX-License-Identifier: MIT
// Answers the modal widgets a desktop test's action opens, in order, as a user would: each new
// modal widget goes to the next handler queued. Message boxes are recorded with what they showed.
//
//   ModalWatcher watcher;
//   std::vector<ShownBox> shown;
//   watcher.AnswerBox(shown, QMessageBox::Yes);
//   window.closeCurrentProject();
//   EXPECT_TRUE(watcher.Done());
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <utility>
#include <vector>

namespace lunavant::test_support {

// What a modal box showed, and the button that answered it.
struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton default_button = QMessageBox::NoButton;
};

// Watches for modal widgets while the test acts; each one is handed to the next handler queued.
class ModalWatcher {
 public:
  using Handler = std::function<void(QWidget&)>;
  ModalWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || modal == last_ || handlers_.empty()) return;
      last_ = modal;
      Handler handler = std::move(handlers_.front());
      handlers_.erase(handlers_.begin());
      handler(*modal);
    });
    timer_.start();
  }
  void Then(Handler handler) { handlers_.push_back(std::move(handler)); }
  // Records the next message box and presses `answer` on it.
  void AnswerBox(std::vector<ShownBox>& shown, QMessageBox::StandardButton answer) {
    Then([&shown, answer](QWidget& widget) {
      auto* box = qobject_cast<QMessageBox*>(&widget);
      ASSERT_NE(box, nullptr) << "a modal that is no message box: "
                              << widget.metaObject()->className();
      shown.push_back(ShownBox{box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                               box->standardButton(box->defaultButton())});
      box->button(answer)->click();
    });
  }
  bool Done() const { return handlers_.empty(); }
  void WaitUntilDone() {
    for (int i = 0; i < 200 && !Done(); ++i) QTest::qWait(5);
  }

 private:
  QTimer timer_;
  QPointer<QWidget> last_;  // cleared when it ends, so a new box at the same address counts
  std::vector<Handler> handlers_;
};

}  // namespace lunavant::test_support
