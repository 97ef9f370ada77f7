#include "wizard/AppWindowState.h"

AppWindowState::AppWindowState(WindowStateController* owner) : WindowState(owner) {}

AppWindowState::~AppWindowState() = default;
