#pragma once
// The main window and the windows it owns.
