#pragma once
// Processing the calling thread's pending window events inside long loops. The desktop program
// installs its pump at start-up; without one (the cli, the tests) the call does nothing.
namespace ondrel {

using EventPump = void (*)();

void setPendingEventPump(EventPump pump);
void pumpPendingMessages();

}  // namespace ondrel
