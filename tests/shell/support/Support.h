// Everything a Windows test of the program needs, in one include.
#pragma once

#include "Handles.h"
#include "Input.h"
#include "LoopbackServer.h"
#include "LumorraProcess.h"
#include "Text.h"
#include "TrayArea.h"
#include "UnixCommand.h"
#include "Wait.h"
#include "WindowQuery.h"
