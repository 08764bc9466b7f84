// Identifiers shared by the .rc scripts and the code.
#pragma once
#define IDI_RIPPLET 1
