// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <thread>
#include <vector>

#include <tessaro/error.h>
#include "platform/media/video_surface.h"
#include "qt/qt_picture_box.h"
#include "qt/qt_picture_loader.h"
#include "tests/qt/picture_formats.h"
#include "tests/qt/qt_test_main.h"

namespace tessaro::qt {
namespace {

constexpr QRgb Red = qRgb(255, 0, 0);
constexpr QRgb Blue = qRgb(0, 0, 255);

class PictureTest : public ::testing::Test, protected testing::WithApplication {
  protected:
    PictureTest() {
        QDir(folder.path()).mkpath("Video");
        QImage image(20, 10, QImage::Format_RGB32);
        image.fill(Red);
        image.save(folder.filePath("Video/Pose1.PNG"));
        QFile notAPicture(folder.filePath("Video/notes.jpg"));
        notAPicture.open(QIODevice::WriteOnly);
        notAPicture.write("no picture here");
        // Metafile heads over bytes that draw nothing.
        writeFile("Video/broken.wmf", QByteArray::fromHex("d7cdc69a") + QByteArray(40, '\x7f'));
        writeFile("Video/broken.emf", QByteArray::fromHex("01000000") + QByteArray(36, '\0') +
                                          QByteArray(" EMF") + QByteArray(20, '\xff'));
    }

    void writeFile(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }

    // The folder as a Windows-style path with backslashes.
    std::string windowsPath(const std::string& rest) const {
        std::string path = folder.path().toStdString() + rest;
        for (char& c : path)
            if (c == '/')
                c = '\\';
        return path;
    }

    QTemporaryDir folder;
    QtPictureLoader loader;
};

TEST_F(PictureTest, TheEmptyPathGivesTheEmptyPicture) {
    const host::Picture picture = loader.load("");
    EXPECT_TRUE(picture.isEmpty());
    EXPECT_TRUE(pictureImage(picture).isNull());
}

TEST_F(PictureTest, FailuresCarryTheLoaderNumbers) {
    struct Case {
        std::string rest;
        int number;
    };
    for (const Case& c : {Case{"\\video\\missing.png", host::errors::FileNotFound},
                          Case{"\\video", host::errors::FileNotFound},
                          Case{"\\video\\notes.jpg", host::errors::InvalidPicture},
                          Case{"\\video\\broken.wmf", host::errors::InvalidPicture},
                          Case{"\\video\\broken.emf", host::errors::InvalidPicture}}) {
        SCOPED_TRACE(c.rest);
        try {
            loader.load(windowsPath(c.rest));
            ADD_FAILURE() << "loaded";
        } catch (const Error& error) {
            EXPECT_EQ(error.number(), c.number);
        }
    }
}

TEST_F(PictureTest, APictureLoadsThroughAWindowsStylePathMatchedCaseBlind) {
    const std::string path = windowsPath("\\video\\\\pose1.png");
    const host::Picture picture = loader.load(path);
    EXPECT_EQ(picture.source(), path);
    EXPECT_EQ(pictureImage(picture).size(), QSize(20, 10));
}

TEST_F(PictureTest, EveryPictureFormatOfACourseLoadsInItsColour) {
    for (const testing::PictureFormat& format :
         testing::writePictureFormats(folder.filePath("Video"))) {
        SCOPED_TRACE(format.file.toStdString());
        const QImage image =
            pictureImage(loader.load(windowsPath("\\video\\" + format.file.toStdString())));
        ASSERT_FALSE(image.isNull());
        const QColor centre = image.pixelColor(image.width() / 2, image.height() / 2);
        EXPECT_TRUE(testing::nearColour(centre, format.colour)) << centre.name().toStdString();
    }
}

class PictureBoxTest : public PictureTest {
  protected:
    QRgb pixel(int x, int y) { return window.grab().toImage().pixel(x, y) & 0xffffffu; }

    QWidget window;
    QtPictureBox* box = new QtPictureBox(&window, "Picture1", 0, 0, 5280, 4320);
};

TEST_F(PictureBoxTest, ThePictureIsDrawnAtTheTopLeftUnscaled) {
    window.resize(352, 288);
    const QRgb background = pixel(100, 100);
    box->setPicture(loader.load(windowsPath("\\video\\pose1.png")));
    EXPECT_EQ(pixel(0, 0), Red & 0xffffffu);
    EXPECT_EQ(pixel(19, 9), Red & 0xffffffu);
    EXPECT_EQ(pixel(25, 5), background);
    box->setPicture({});
    EXPECT_EQ(pixel(0, 0), background);
}

TEST_F(PictureBoxTest, AFrameFromAStreamingThreadIsDrawnOverThePictureUntilCleared) {
    window.resize(352, 288);
    box->setPicture(loader.load(windowsPath("\\video\\pose1.png")));
    const int width = 16, height = 8, stride = width * 4 + 8;
    std::vector<std::uint8_t> frame(std::size_t(stride) * height, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame[std::size_t(y * stride + x * 4 + 2)] = 255;  // R, G, B, X: blue
    std::thread streaming([&] {
        media::withVideoSurface(box->windowHandle(), [&](media::VideoSurface& surface) {
            surface.presentFrame(frame.data(), width, height, stride);
        });
    });
    streaming.join();
    QCoreApplication::processEvents();
    EXPECT_EQ(pixel(3, 3), Blue & 0xffffffu);
    EXPECT_EQ(pixel(18, 3), Red & 0xffffffu);
    EXPECT_EQ(box->currentFrame().size(), QSize(width, height));

    box->clearFrame();
    QCoreApplication::processEvents();
    EXPECT_EQ(pixel(3, 3), Red & 0xffffffu);
}

TEST_F(PictureBoxTest, TakesFramesOnlyWhileItsWindowIsShown) {
    EXPECT_FALSE(box->showsFrames());
    window.show();
    EXPECT_TRUE(box->showsFrames());
    window.hide();
    EXPECT_FALSE(box->showsFrames());
}

TEST_F(PictureBoxTest, ADestroyedBoxIsNoLongerASurface) {
    const std::intptr_t handle = box->windowHandle();
    delete box;
    bool found = false;
    media::withVideoSurface(handle, [&](media::VideoSurface&) { found = true; });
    EXPECT_FALSE(found);
}

}  // namespace
}  // namespace tessaro::qt
