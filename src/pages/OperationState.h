#pragma once

// The operation state belongs to the panel session.
#include "panel/OperationState.h"
