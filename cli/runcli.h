#pragma once
// The command-line tool's whole run: parsing, the message log, the application object and the subcommand.

int runCli(int argc, char* argv[]);
