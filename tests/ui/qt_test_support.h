#pragma once
// Helpers of the window and dialog tests: the one application object on the
// offscreen platform, waiting on a condition while events run, and answering
// the modal boxes and file choosers a test provokes.
#ifdef VANTOR_HAS_UI_QT

#include <QApplication>
#include <QMessageBox>

#include <filesystem>
#include <functional>
#include <vector>

namespace vantor::ui::test {

QApplication& TestApp();

// Runs the event loop until done() holds, at most 10 s.
bool WaitUntil(const std::function<bool()>& done);

// Answers the next visible message box with button (once); returns its text
// and caption through *text and *caption; then runs then (to answer what the
// button leads to).
void AnswerNextBox(QMessageBox::StandardButton button, QString* text = nullptr, std::function<void()> then = {},
                   QString* caption = nullptr);
// Calls handle on each visible top-level widget, polling, until it returns
// true for one (it answers that window).
void OnNextTopLevel(std::function<bool(QWidget*)> handle);
// Runs action while every message box that comes up is answered with button
// (with its only button when it has not that one); returns their texts.
QStringList AnswerBoxesDuring(QMessageBox::StandardButton button, const std::function<void()>& action);
// Answers the next file chooser with path (empty: cancels it).
void AnswerNextFileDialog(const std::filesystem::path& path);
// Answers the next file choosers in turn, one path each.
void AnswerFileDialogs(std::vector<std::filesystem::path> paths);

}  // namespace vantor::ui::test

#endif  // VANTOR_HAS_UI_QT
