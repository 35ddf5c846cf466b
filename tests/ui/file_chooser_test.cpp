// The data log choosers on the offscreen platform: "All (*.*)" lists every
// file, names without a dot too.
#ifdef VANTOR_HAS_UI_QT

#include "ui/qt/log_chooser.h"

#include <QComboBox>
#include <QFileDialog>
#include <QListView>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "cal/temp_dir.h"
#include "ui/offscreen_app.h"
#include "qt_test_support.h"

namespace vantor::ui {
namespace {

QStringList Listed(QFileDialog& dialog) {
  QStringList names;
  auto* list = dialog.findChild<QListView*>("listView");
  if (!list) return names;
  const QModelIndex root = list->rootIndex();
  for (int row = 0; row < list->model()->rowCount(root); ++row)
    names << list->model()->index(row, 0, root).data().toString();
  return names;
}

TEST(DataLogChoosers, AllListsFilesWithoutADot) {
  testing::OffscreenApp();
  vantor::test::TempDir dir;
  for (const char* name : {"drive.dat", "capture", "notes.txt"}) std::ofstream(dir.File(name)) << "x";
  const std::function<std::string()> choosers[] = {
      [&] { return ChooseDataLog(nullptr, "Select File to Playback", dir.Path(), "", "dat"); },
      [&] { return ChooseDataLogToWrite(nullptr, "Select/Create File to Save Data Log to", dir.Path(), "rec.dat"); },
  };
  for (const auto& choose : choosers) {
    QStringList types, dataLogs, all;
    test::OnNextTopLevel([&](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (!dialog) return false;
      auto* typeList = dialog->findChild<QComboBox*>("fileTypeCombo");
      for (int i = 0; typeList && i < typeList->count(); ++i) types << typeList->itemText(i);
      testing::WaitFor([&] { return Listed(*dialog).contains("drive.dat"); });
      dataLogs = Listed(*dialog);
      if (typeList) {
        typeList->setCurrentIndex(1);
        emit typeList->activated(1);  // as a choice in the list does
      }
      testing::WaitFor([&] { return Listed(*dialog).size() == 3; });
      all = Listed(*dialog);
      dialog->reject();
      return true;
    });
    EXPECT_EQ(choose(), "");
    all.sort();
    EXPECT_EQ(types.join(" | ").toStdString(), "DataLogs (*.dat) | All (*.*)");
    EXPECT_EQ(dataLogs.join(" | ").toStdString(), "drive.dat");
    EXPECT_EQ(all.join(" | ").toStdString(), "capture | drive.dat | notes.txt");
  }
}

}  // namespace
}  // namespace vantor::ui

#endif  // VANTOR_HAS_UI_QT
