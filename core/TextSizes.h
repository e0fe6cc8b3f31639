// The fixed text buffers the program keeps: every copy into them is bounded.
#pragma once

// A path, a list of folders or of extensions, as the settings keep them.
const int PATH_SIZE = 260;
// A COM port's name.
const int COMM_PORT_SIZE = 32;
// A name received from a client: at most 1023 bytes and the terminating zero.
const int MAX_NAME_LENGTH = 1023;
const int NAME_BUFFER_SIZE = 1024;
