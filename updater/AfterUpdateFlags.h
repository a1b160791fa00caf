#pragma once

// Set by the completion window when the user asks to start the product or to
// restart Windows after an update; read by the application at its end.
extern int g_launchAfterUpdate;
extern int g_restartAfterUpdate;
