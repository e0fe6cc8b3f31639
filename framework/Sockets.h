// Windows Sockets start-up for the whole program.
#pragma once

// Starts Windows Sockets 1.1 and accepts only exactly that version; registers
// the clean-up for the end of the program. Returns false when not available.
bool AfxSocketInit();
