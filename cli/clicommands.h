#pragma once
// The subcommands: what each takes on the command line and the function that runs it. Each run function returns
// the exit code (ExitCodeE) once its work is done or has failed.

#include "clioptions.h"

#include <QCoreApplication>
#include <QStringList>
#include <memory>
#include <vector>

using CommandRunF = int (*)(const CliOptions_t&);
using ApplicationMakerF = std::unique_ptr<QCoreApplication> (*)(int& argc, char** argv);

struct CliCommand_t {
    QString name;
    QString argumentName; // empty: takes no argument
    QStringList choices;  // the argument's allowed values; empty: any
    QStringList options;  // the options it takes
    QString summary;      // for --help
    CommandRunF run;
    ApplicationMakerF makeApplication = nullptr; // null: a QCoreApplication
};

const std::vector<CliCommand_t>& cliCommands();
// Null for an unknown name.
const CliCommand_t* findCliCommand(const QString& name);

int runPorts(const CliOptions_t& options);
int runRead(const CliOptions_t& options);
int runWrite(const CliOptions_t& options);
int runCalibrate(const CliOptions_t& options);
int runResetCalibration(const CliOptions_t& options);
int runMonitor(const CliOptions_t& options);
int runReport(const CliOptions_t& options);
int runTable(const CliOptions_t& options);
// A QGuiApplication on the offscreen platform: the report draws without a display.
std::unique_ptr<QCoreApplication> makeReportApplication(int& argc, char** argv);
