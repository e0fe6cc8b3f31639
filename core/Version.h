// The version of the phone protocol this server speaks: VERS answers it, the
// banner and the web page show it.
#pragma once

const int PROTOCOL_VERSION_MAJOR = 1;
const int PROTOCOL_VERSION_MINOR = 72;
