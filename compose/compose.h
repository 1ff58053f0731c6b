#pragma once
// The fragment editors and the small mark dialogs.
