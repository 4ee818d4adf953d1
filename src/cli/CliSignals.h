// Signals of the terminal program. The handlers only note the signal and wake the line
// reader; what follows (clearing the line, asking again, writing a recovery copy) is
// done by the main loop.
//   SIGINT (Ctrl-C, on a terminal only): the line being typed is dropped.
//   SIGHUP (the terminal closed), SIGTERM (logout, kill): the program ends.
//   SIGPIPE (the reader of the output went away, say a pager that was quit): the
//   session has lost its conversation, so it ends as if ended from outside.
#pragma once

#include "platform/Signals.h"

/// Installs the handlers (SIGINT only when interactive). A signal that was ignored when
/// the program started (nohup, a background job) stays ignored.
void InstallCliSignalHandlers(bool interactive);
/// A descriptor that becomes readable when a signal arrives; -1 without handlers.
int SignalWakeFd();
/// Empties the wake descriptor (the flags below keep what arrived).
void DrainSignalWake();

/// True once Ctrl-C was pressed since the last TakeInterrupt.
bool InterruptPending();
/// Clears the Ctrl-C note; true when there was one.
bool TakeInterrupt();
/// SIGHUP, SIGTERM or SIGPIPE when one has arrived, else 0.
int PendingTermination();
/// A write found the output closed (EPIPE): counts as SIGPIPE even where that signal
/// was ignored from the start.
void NoteOutputClosed();
/// True when the reader should stop waiting for input: Ctrl-C or an end from outside.
inline bool AnySignalPending() { return InterruptPending() || PendingTermination() != 0; }
