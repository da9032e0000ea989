// Identifiers of oradel.exe's resources, shared by the resource script and the code.
#pragma once

#define IDI_ORADEL 1
