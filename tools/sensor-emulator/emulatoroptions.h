#pragma once
// Command-line options that configure an emulator (fault modes, stream rate, initial state file), shared by every
// program that starts one.

class QCommandLineParser;
class QString;
class SensorEmulator_t;

void addEmulatorOptions(QCommandLineParser& parser);
// Applies what the user gave; false with a message on a bad value or an unreadable state file.
bool applyEmulatorOptions(const QCommandLineParser& parser, SensorEmulator_t& emulator, QString& error);
