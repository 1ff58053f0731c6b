#pragma once
// The seams every window shares (prompts, modal runs, clock, messages, the station's state).
