// A hub with a real commander behind it, in a temporary home, for the settings-panel
// tests; and the look-ups those tests share.
#pragma once

#include "control/PowerCommanderTop.h"
#include "core/ControlAndStatus.h"
#include "support/TestSupport.h"

#include <QLabel>
#include <QWidget>
#include <boost/make_shared.hpp>
#include <gtest/gtest.h>

class PanelFixture : public ::testing::Test {
protected:
    PanelFixture() { hub_->SetCommander(commander_); }
    ~PanelFixture() override { hub_->SetCommander(boost::shared_ptr<PowerCommanderTop>()); }

    // The visible label with exactly that text inside the widget, or null.
    static QLabel* FindLabel(QWidget& widget, const QString& text)
    {
        for (QLabel* label : widget.findChildren<QLabel*>()) {
            if (label->text() == text && label->isVisible())
                return label;
        }
        return nullptr;
    }

    // The editor (a direct child of a column) that shows the label.
    template <typename Editor>
    static Editor* EditorWithLabel(QWidget& widget, const QString& text)
    {
        for (Editor* editor : widget.findChildren<Editor*>()) {
            if (FindLabel(*editor, text))
                return editor;
        }
        return nullptr;
    }

    testsupport::ScopedHome home_;
    boost::shared_ptr<ControlAndStatus> hub_ = boost::make_shared<ControlAndStatus>();
    boost::shared_ptr<PowerCommanderTop> commander_ = boost::make_shared<PowerCommanderTop>(hub_);
};
