#pragma once

// Settings of the widget toolkit that must be made before the application
// object exists. The program's entry calls this; so does anything that
// measures the program's window as it really runs.
void PrepareToolkit();
