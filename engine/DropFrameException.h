// Thrown by element code from a pad's data call to drop the current item: the
// connection thread starts its next pass at once, without the back-off that
// other failures cost. It carries nothing.
#pragma once

class DropFrameException {};
