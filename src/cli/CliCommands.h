// The backslash commands of the terminal program. Each group of commands lives in a
// file of its own and is added to the session by its Register… function.
#pragma once

class CliSession;

void RegisterBasicCommands(CliSession& session);     // \help, \quit
void RegisterFileCommands(CliSession& session);      // \new, \open, \save
void RegisterListCommands(CliSession& session);      // \vars, \schedules, \memos, \export, \names, \read
void RegisterCalendarCommands(CliSession& session);  // \ical, \ical-read
