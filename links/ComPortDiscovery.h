// Proposes the COM port from the Widcomm Bluetooth stack's service records.
#pragma once

class CServerCore;

// The number of the last port whose service looks like ours, each candidate
// logged; 0 (logged) when there is none.
int FindBluetoothComPort(CServerCore& core);
