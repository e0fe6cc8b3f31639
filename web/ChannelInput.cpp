// The channel's input messages: the touchpad and the keyboard. Taken and not
// acted on yet: the pointer and keys are driven in a change of their own.
#include "WebRemote.h"

void CWebRemote::TakeInput(const CWebConnection& connection, const CJsonValue& events)
{
    (void)connection;
    (void)events;
}
