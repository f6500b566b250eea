#include "core/CameraControls.h"

CameraControls::CameraControls() : ControlBaseClass("CameraControls") {}

CameraControls::~CameraControls() = default;
