#pragma once
// Gives the connected unit its GSM/GPRS holder, its three network-service controllers and the
// RTN utility's controller, which runs its operation 6.

class VkcSystem;

void InstallNetworkServices(VkcSystem& system);
