#pragma once
// The dialplan entry frame of the kind "ring an extension (no voicemail)".
#include "ui/fmeExtensionBase.h"

class TframeExtensionNoVoicemail : public TframeExtensionBase {
    Q_OBJECT
public:
    explicit TframeExtensionNoVoicemail(QWidget* parent = nullptr);
};
