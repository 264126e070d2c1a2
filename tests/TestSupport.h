// Helpers shared by the test programs: files read and written whole, a
// working directory of its own, and view hooks that record every call.
#pragma once

#include "records/Globals.h"
#include "records/ViewHooks.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using Strings = std::vector<std::string>;

// The whole file, empty when it cannot be read.
inline QByteArray ReadAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  file.write(bytes);
}

// What a run of vexactl returned: its exit code (-1 when it did not end
// normally within 30 s), standard output and standard error.
struct ToolRun {
  int ExitCode = -1;
  QByteArray Out;
  QByteArray Err;
};

// Runs vexactl in folder (the current one when empty).
inline ToolRun RunVexactl(const QStringList &args, const QString &folder = {}) {
  QProcess process;
  process.setWorkingDirectory(folder);
  process.start(VEXA_BINARY_DIR "/tools/vexactl", args);
  if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
    return {};
  return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

// An empty temporary folder that is the working directory while the object
// lives (the program keeps its files in the working directory).
class TempWorkDir {
public:
  TempWorkDir() : previous_(QDir::currentPath()) {
    valid_ = dir_.isValid() && QDir::setCurrent(dir_.path());
  }
  ~TempWorkDir() { QDir::setCurrent(previous_); }
  TempWorkDir(const TempWorkDir &) = delete;
  TempWorkDir &operator=(const TempWorkDir &) = delete;

  bool IsValid() const { return valid_; }
  QString Path() const { return dir_.path(); }
  QString File(const QString &name) const { return dir_.filePath(name); }
  // The names of the files in the folder, sorted.
  QStringList Files() const {
    QStringList files = QDir(dir_.path()).entryList(QDir::Files);
    files.sort();
    return files;
  }

private:
  QString previous_;
  QTemporaryDir dir_;
  bool valid_ = false;
};

// Records every call into the user interface, in order, as "Name" or
// "Name(arguments)"; messages as "title|text". The exits to the main panel
// also set gCurrentPage as the real panels do.
class RecordingHooks : public ViewHooks {
public:
  Strings Calls;
  Strings Messages;
  Strings Dropped;  // requests dropped from a full queue
  Strings LinkLost; // "title|text"

  int Count(const std::string &call) const {
    return static_cast<int>(std::count(Calls.begin(), Calls.end(), call));
  }
  bool Has(const std::string &call) const { return Count(call) > 0; }

  void MessagePopup(const std::string &title, const std::string &text) override {
    Messages.push_back(title + "|" + text);
  }
  void RefreshOutputState() override { Add("RefreshOutputState"); }
  void RefreshDCOutputStateAndMeasure() override { Add("RefreshDCOutputStateAndMeasure"); }
  void DataFPFromMeasureToPanel() override { Add("DataFPFromMeasureToPanel"); }
  void DataFCFromMeasureToPanel() override { Add("DataFCFromMeasureToPanel"); }
  void DataFPFromVarToPanel(int kind) override { Add("DataFPFromVarToPanel", {kind}); }
  void DataFPFromNormalVarToPanel() override { Add("DataFPFromNormalVarToPanel"); }
  void DataFPFromSystemVarToPanel() override { Add("DataFPFromSystemVarToPanel"); }
  void DataFCFromNormalVarToPanel() override { Add("DataFCFromNormalVarToPanel"); }
  void DataFCFromSystemVarToPanel() override { Add("DataFCFromSystemVarToPanel"); }
  void DataFPFromStepVarToPanel() override { Add("DataFPFromStepVarToPanel"); }
  void RefreshStepSetGraph(int a, int b, int m) override { Add("RefreshStepSetGraph", {a, b, m}); }
  void RefreshListSetGraph(int a, int b, int m) override { Add("RefreshListSetGraph", {a, b, m}); }
  void RefreshRampSetGraph(int a, int b, int m) override { Add("RefreshRampSetGraph", {a, b, m}); }
  void RefreshCrossSetGraph(int a, int b, int m) override {
    Add("RefreshCrossSetGraph", {a, b, m});
  }
  void SetOCPDefineMax(int limit) override { Add("SetOCPDefineMax", {limit}); }
  void DisplayPanelWait(int show) override { Add("DisplayPanelWait", {show}); }
  void ModelTypeChoose(int force) override { Add("ModelTypeChoose", {force}); }
  void CommConnectToPanel(int connected) override { Add("CommConnectToPanel", {connected}); }
  void MainMenuSetPowerModelDimmed(int dim) override { Add("MainMenuSetPowerModelDimmed", {dim}); }
  void CalFCPowerUpDown(int running) override { Add("CalFCPowerUpDown", {running}); }
  void DataFPFromListVarToPanel() override { Add("DataFPFromListVarToPanel"); }
  void DataFPFromRampVarToPanel() override { Add("DataFPFromRampVarToPanel"); }
  void DataFPFromCrossVarToPanel() override { Add("DataFPFromCrossVarToPanel"); }
  void DataFPFromTHDVarToPanel() override { Add("DataFPFromTHDVarToPanel"); }
  void CheckAndSetTHDDownloadButton() override { Add("CheckAndSetTHDDownloadButton"); }
  void ExitStepToNormalPanel() override { ExitTo("ExitStepToNormalPanel"); }
  void ExitListToNormalPanel() override { ExitTo("ExitListToNormalPanel"); }
  void ExitRampToNormalPanel() override { ExitTo("ExitRampToNormalPanel"); }
  void ExitCrossToNormalPanel() override { ExitTo("ExitCrossToNormalPanel"); }
  void ExitTHDToNormalPanel() override { ExitTo("ExitTHDToNormalPanel"); }
  void CommRequestDropped(const std::string &text) override { Dropped.push_back(text); }
  void CommLinkLost(const std::string &title, const std::string &text) override {
    LinkLost.push_back(title + "|" + text);
  }
  void CommLinkStatus(const std::string &text) override { LinkStatus.push_back(text); }
  void CommAskOtherSource(const std::string &title, const std::string &text) override {
    Asked.push_back(title + "|" + text);
  }
  Strings LinkStatus;
  Strings Asked; // "title|text"

private:
  void Add(const char *name, std::initializer_list<int> args = {}) {
    std::string call = name;
    if (args.size() > 0) {
      call += "(";
      for (int a : args)
        call += std::to_string(a) + ",";
      call.back() = ')';
    }
    Calls.push_back(call);
  }
  void ExitTo(const char *name) {
    Add(name);
    gCurrentPage = kPageMain;
  }
};
