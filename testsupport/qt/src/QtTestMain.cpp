// main of the Qt test programs: GoogleTest inside a QApplication, so widgets,
// timers and media playback work (offscreen, GStreamer back end).
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

int main(int argc, char** argv) {
    // The test runner sets both; a test started by hand gets them too.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
