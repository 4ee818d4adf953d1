// The backslash commands of the terminal program. Each group of commands lives in a
// file of its own and is added to the session by its Register… function.
#pragma once

class CCliSession;

void RegisterBasicCommands(CCliSession& session);     // \help, \quit
void RegisterFileCommands(CCliSession& session);      // \new, \open, \save
void RegisterListCommands(CCliSession& session);      // \vars, \schedules, \memos, \export, \names, \read
void RegisterCalendarCommands(CCliSession& session);  // \ical, \ical-read
