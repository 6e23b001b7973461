#pragma once
// The command line: the subcommand, its arguments and the options, as parsed and checked before any port opens.

#include <QString>
#include <QStringList>

class QCommandLineParser;

struct CliOptions_t {
    QString command;
    QStringList arguments; // after the command
    QString port;          // empty: the only sensor found
    int timeoutMs = 0;     // 0: the connection's default
    QString logPath;
    bool json = false;
    int seconds = 0; // monitor: 0 runs until a termination signal
    QString out;
    QString vehicle;
    QString plate;
    QString fitter;
    QString note;
    int stepMm = 0;         // table: 0 for the default step
    bool tableJson = false; // table: --format json
    QString profilePath;    // table: the profile file to take the tank from instead of a sensor
    bool force = false;     // write: even over a differing own record of the sensor
};

// Declares every option, the help text (subcommands and exit codes) and the version on parser.
void describeCli(QCommandLineParser& parser);
// After parser.process(): the options, or false with what is wrong (an unknown subcommand, a wrong number of
// arguments, an option the subcommand does not take, a bad number).
bool readCliOptions(const QCommandLineParser& parser, CliOptions_t& out, QString& problem);
