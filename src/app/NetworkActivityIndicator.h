// The status bar's network activity indicator, driven by the HTTP library:
// the library's indicator manager counts running requests and its
// visibility handler sets the application's networkActivityIndicatorVisible.
// The application delegate turns this on at launch.
#pragma once

// Installs the visibility handler on the shared indicator manager and enables
// the manager. Main thread; calling it again changes nothing.
void QVAShowNetworkActivityInStatusBar();
