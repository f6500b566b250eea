// A hub with a real commander and the pipeline file store behind its save, load, delete
// and list signals, in a temporary home, for the side-bar widgets that use them.
#pragma once

#include "PanelFixture.h"

#include "control/LoaderSaver.h"

#include <QFileInfo>

#include <string>

class FileStoreFixture : public PanelFixture {
protected:
    // The file the store keeps the named pipeline in.
    std::string PipelineFile(const std::string& name) const
    {
        return ControlAndStatus::GetSettingsDirectory() + name + ".xml";
    }

    bool IsSaved(const std::string& name) const
    {
        return QFileInfo::exists(QString::fromStdString(PipelineFile(name)));
    }

    LoaderSaver store_{nullptr, hub_};
};
