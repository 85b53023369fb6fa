// Start-up, event delivery, the message loop and shutdown.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "app/events.h"
#include "app/form.h"

EventDispatcher& programEvents();

// Delivers an event to the handler the form binds to it, on the calling (UI) thread.
EventResult raiseEvent(EventSource source, int event, std::initializer_list<std::int32_t> args = {});

// Makes a form the one loadMainWindow builds, with its event bindings. The form must outlive
// the window.
void useForm(const FormDescription& form);

// Creates MainWindow and its controls hidden, raises the created event, then shows it.
// False when the window or a control could not be created.
bool loadMainWindow();

// Runs until WM_QUIT and answers its exit code.
int runMessageLoop();

// The program from start to end; answers the process's exit code.
int runProgram();
