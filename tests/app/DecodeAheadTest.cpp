// Decode-ahead in the viewer, with the worker's jobs run by hand: prepared pictures
// are taken when the user pages to them and change nothing but the time.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "image/JpegRoute.h"
#include "tests/app/ShownViewer.h"
#include "tests/support/AgedFile.h"
#include "tests/support/CaseName.h"

namespace {

// Everything a frame shows and the single view's picture holds, byte for byte.
struct TFrame {
  std::vector<uint8_t> Screen;
  std::vector<uint8_t> Picture;
  int32_t PageIndex = 0;
  bool operator==(const TFrame&) const = default;
};

std::vector<uint8_t> SurfaceBytes(TDirectDrawSurface& surface) {
  DDSURFACEDESC locked{};
  locked.dwSize = kDDSurfaceDescSize;
  if (!surface.Lock(nullptr, locked)) return {};
  std::vector<uint8_t> bytes;
  const size_t row = static_cast<size_t>(surface.Width()) * surface.BitCount() / 8;
  for (int32_t y = 0; y < surface.Height(); ++y) {
    const auto* line = static_cast<const uint8_t*>(locked.lpSurface) + int64_t{y} * locked.lPitch;
    bytes.insert(bytes.end(), line, line + row);
  }
  surface.Unlock();
  return bytes;
}

std::vector<uint8_t> PictureBytes(TPicture& picture) {
  std::vector<uint8_t> bytes;
  TBitmap* bitmap = dynamic_cast<TBitmap*>(picture.Graphic());
  if (!bitmap || bitmap->Empty()) return bytes;
  for (int32_t y = 0; y < bitmap->Height(); ++y) {
    const auto* line = static_cast<const uint8_t*>(bitmap->ScanLine(y));
    bytes.insert(bytes.end(), line, line + size_t{3} * static_cast<size_t>(bitmap->Width()));
  }
  return bytes;
}

class DecodeAheadTest : public ShownViewerTest {
 protected:
  void SetUp() override {
    ShownViewerTest::SetUp();
    Form1->DecodeAhead().SetMode(TDecodeAhead::TMode::Manual);
    FTrace = std::tmpfile();
    Form1->Trace().SetOutput(FTrace);
  }
  void TearDown() override {
    Form1->Trace().SetOutput(nullptr);
    std::fclose(FTrace);
    ShownViewerTest::TearDown();
  }

  // Photos an hour old (so their identity can be trusted), opened as a folder.
  void OpenPhotos(int32_t count, int32_t width = 160, int32_t height = 120) {
    const std::string folder = Tree.Folder("photos" + std::to_string(++FFolders));
    for (int32_t i = 0; i < count; ++i) {
      const std::string path = folder + "/p" + std::to_string(100 + i) + ".jpg";
      WritePhotoJpeg(path, width, height, i);
      AgeFile(path);
    }
    ChosenFolder = folder;
    LeftClick({ssShift});
  }
  const std::string& Entry(int32_t i) { return Form1->FileList->Strings(i); }
  void RunWorker() {
    while (Form1->DecodeAhead().Queue().RunOne()) {
    }
  }
  TFrame Frame() {
    return {SurfaceBytes(*Form1->DXDraw1->Primary()),
            PictureBytes(Form1->DXImageList1->Items().Items(0)->Picture()), Form1->PageIndex};
  }
  // The trace written since the last call.
  std::string Trace() {
    std::fflush(FTrace);
    std::string text;
    std::fseek(FTrace, FTraceRead, SEEK_SET);
    for (int c; (c = std::fgetc(FTrace)) != EOF;) text += static_cast<char>(c);
    FTraceRead = std::ftell(FTrace);
    return text;
  }
  // What the viewer shows for the current entry when it loads the file itself: page
  // away and back with decode-ahead off.
  TFrame FrameLoadedNow(WORD away, WORD back) {
    Form1->DecodeAhead().SetMode(TDecodeAhead::TMode::Off);
    Key(away);
    Key(back);
    return Frame();
  }
  // Rewrites the frame header of a JPEG file to claim another size; the file stays old.
  static void ClaimSize(const std::string& path, uint16_t width, uint16_t height) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), {});
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
      if (static_cast<uint8_t>(bytes[i]) != 0xFF || static_cast<uint8_t>(bytes[i + 1]) != 0xC0)
        continue;
      const char size[4] = {char(height >> 8), char(height), char(width >> 8), char(width)};
      file.seekp(static_cast<std::streamoff>(i + 5));
      file.write(size, 4);
      break;
    }
    file.close();
    AgeFile(path);
  }
  static std::string RouteError(const std::string& file) {
    TPicture picture;
    try {
      LoadJpegIntoPicture(picture, file);
    } catch (const Exception& error) {
      return error.Message();
    }
    return "no error";
  }

  std::FILE* FTrace = nullptr;
  long FTraceRead = 0;
  int FFolders = 0;
};

constexpr const char* kAhead = "(decoded ahead)";
constexpr const char* kNow = "(decoded now)";

TEST_F(DecodeAheadTest, PageDownShowsThePreparedPictureExactlyAsLoadingTheFileWould) {
  OpenPhotos(5);
  RunWorker();
  Trace();
  Key(VK_NEXT);
  const std::string trace = Trace();
  EXPECT_NE(trace.find(Entry(2) + " " + kAhead), std::string::npos) << trace;
  const TFrame ahead = Frame();
  EXPECT_EQ(ahead.PageIndex, 2);
  EXPECT_EQ(FrameLoadedNow(VK_PRIOR, VK_NEXT), ahead);
  EXPECT_NE(Trace().find(Entry(2) + " " + kNow), std::string::npos);
}

TEST_F(DecodeAheadTest, PageUpPreparesThePreviousPicture) {
  OpenPhotos(6);
  Key(VK_NEXT);
  Key(VK_NEXT);
  Key(VK_PRIOR);  // entry 2; from now on the way back
  RunWorker();
  Trace();
  Key(VK_PRIOR);
  EXPECT_NE(Trace().find(Entry(1) + " " + kAhead), std::string::npos);
  EXPECT_EQ(Form1->PageIndex, 1);
}

TEST_F(DecodeAheadTest, AtTheEndOfTheListTheWayBackIsPrepared) {
  OpenPhotos(3);
  Form1->N17->Click();  // the last entry
  RunWorker();
  Trace();
  Key(VK_PRIOR);
  EXPECT_NE(Trace().find(Entry(1) + " " + kAhead), std::string::npos);
}

TEST_F(DecodeAheadTest, SlideshowTickShowsThePreparedPicture) {
  OpenPhotos(3);
  Form1->N12->Click();
  RunWorker();
  Trace();
  Tick();
  EXPECT_NE(Trace().find("slideshow tick | " + Entry(1) + " " + kAhead), std::string::npos);
  EXPECT_EQ(Form1->PageIndex, 2);
}

TEST_F(DecodeAheadTest, AFileThatCannotBeDecodedReportsWhenPagedToNotBefore) {
  OpenPhotos(4);
  WriteCorruptJpeg(Entry(2));
  AgeFile(Entry(2));
  const TFrame before = Frame();
  RunWorker();
  EXPECT_TRUE(Reports.empty());
  Key(VK_NEXT);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], RouteError(Entry(2)));
  // The index moved before the failure; nothing was drawn.
  EXPECT_EQ(Form1->PageIndex, 2);
  EXPECT_EQ(SurfaceBytes(*Form1->DXDraw1->Primary()), before.Screen);
}

TEST_F(DecodeAheadTest, APictureTooLargeForABitmapIsNeverPrepared) {
  OpenPhotos(4);
  ClaimSize(Entry(2), 18000, 18000);  // fits libjpeg's bound, not a bitmap's
  RunWorker();
  Key(VK_NEXT);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], RouteError(Entry(2)));
}

// What happens to the prepared file between its preparation and the page change.
struct TChangeCase {
  const char* name;
  void (*Change)(const std::string& path);
};

class ChangedAfterPreparation : public DecodeAheadTest,
                                public testing::WithParamInterface<TChangeCase> {};

TEST_P(ChangedAfterPreparation, TheFileIsReadAgain) {
  OpenPhotos(4);
  RunWorker();
  GetParam().Change(Entry(2));
  Trace();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(2) + " " + kNow), std::string::npos);
  const TFrame shown = Frame();
  EXPECT_EQ(FrameLoadedNow(VK_PRIOR, VK_NEXT), shown);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ChangedAfterPreparation,
    testing::Values(TChangeCase{"replaced_by_another_picture",
                                [](const std::string& path) {
                                  const std::string other = path + ".new";
                                  WritePhotoJpeg(other, 160, 120, 9);
                                  std::filesystem::rename(other, path);
                                }},
                    TChangeCase{"rewritten_in_place",
                                [](const std::string& path) { WritePhotoJpeg(path, 160, 120, 8); }},
                    TChangeCase{"cut_short",
                                [](const std::string& path) {
                                  std::filesystem::resize_file(
                                      path, std::filesystem::file_size(path) / 2);
                                }}),
    CaseName());

TEST_F(DecodeAheadTest, AFileRemovedAfterPreparationReportsAsWithoutDecodeAhead) {
  OpenPhotos(4);
  RunWorker();
  std::filesystem::remove(Entry(2));
  Key(VK_NEXT);
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], RouteError(Entry(2)));
  EXPECT_EQ(Form1->PageIndex, 2);
}

// Commands after which what comes next is worked out again; the prepared picture
// stays only when the next page change would still show it.
struct TRetargetCase {
  const char* name;
  void (*Command)(DecodeAheadTest& test);
  bool StillFits = false;
};

class RetargetingCommand : public DecodeAheadTest,
                           public testing::WithParamInterface<TRetargetCase> {
 public:
  void OpenOtherPhotos() { OpenPhotos(4); }
};

TEST_P(RetargetingCommand, KeepsOnlyWorkThatStillFitsAndTheNextPageIsRight) {
  OpenPhotos(8);
  RunWorker();  // entries 2 and 3 prepared
  const TJpegJob prepared = JpegJobFor(Entry(2), {}, SurfaceFormatOf(Form1->DXDraw1->Surface()));
  GetParam().Command(*this);
  EXPECT_EQ(Form1->DecodeAhead().Queue().Take(prepared).has_value(), GetParam().StillFits);
  EXPECT_LE(Form1->DecodeAhead().Queue().Count(), 2u);
  RunWorker();
  Key(VK_NEXT);
  const TFrame shown = Frame();
  EXPECT_EQ(FrameLoadedNow(VK_PRIOR, VK_NEXT), shown);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RetargetingCommand,
    testing::Values(
        TRetargetCase{"open_another_folder",
                      [](DecodeAheadTest& test) {
                        static_cast<RetargetingCommand&>(test).OpenOtherPhotos();
                      }},
        // Shows entry 0 with the index on 1 again: entries 2 and 3 come next still.
        TRetargetCase{"jump_to_start", [](DecodeAheadTest&) { Form1->N16->Click(); }, true},
        TRetargetCase{"jump_to_end", [](DecodeAheadTest&) { Form1->N17->Click(); }},
        TRetargetCase{"jump_list",
                      [](DecodeAheadTest&) {
                        Form5->Show();
                        Form5->ListBox1->SetItemIndex(3);
                        Form5->ListBox1->OnDblClick(Form5->ListBox1);
                      }},
        TRetargetCase{"grid_on_and_off",
                      [](DecodeAheadTest&) {
                        Form1->N20->Click();
                        Form1->N20->Click();
                      }},
        // Back to entry 0: entries 1 and 2 come next.
        TRetargetCase{"page_up",
                      [](DecodeAheadTest&) { Form1->DXDraw1->Perform(WM_KEYDOWN, VK_PRIOR); },
                      true}),
    CaseName());

TEST_F(DecodeAheadTest, StretchingKeepsThePreparedPicture) {
  OpenPhotos(4);
  RunWorker();
  Form1->N4->Click();
  Trace();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(2) + " " + kAhead), std::string::npos);
  const TFrame shown = Frame();
  EXPECT_EQ(FrameLoadedNow(VK_PRIOR, VK_NEXT), shown);
}

TEST_F(DecodeAheadTest, ChangingTheGridSizeDropsThePreparedPage) {
  OpenPhotos(12, 700, 520);
  Form1->N20->Click();
  Key(VK_PRIOR);  // page 0 again; page 1 comes next
  RunWorker();
  EXPECT_EQ(Form1->DecodeAhead().Queue().Count(), 3u);
  // What the grid settings dialog does, inside the menu command that opened it.
  Form1->RunHandler("grid settings", [] {
    Form6->SpinEdit1->SetText("2");
    Form6->SpinEdit2->SetText("2");
    Form6->Button1->Click();
  });
  EXPECT_EQ(Form1->DecodeAhead().Queue().Count(), 4u);
  Trace();
  RunWorker();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(7) + " " + kAhead), std::string::npos);
}

TEST_F(DecodeAheadTest, NoMoreThanTwoPicturesArePreparedAtATime) {
  OpenPhotos(6);
  for (WORD key : {VK_NEXT, VK_NEXT, VK_NEXT, VK_NEXT, VK_NEXT, VK_PRIOR, VK_PRIOR, VK_PRIOR}) {
    RunWorker();
    EXPECT_LE(Form1->DecodeAhead().Queue().Count(), 2u);
    Key(key);
  }
  Form1->N12->Click();
  for (int i = 0; i < 4; ++i) {
    RunWorker();
    EXPECT_LE(Form1->DecodeAhead().Queue().Count(), 2u);
    Tick();
  }
}

TEST_F(DecodeAheadTest, APictureThatWaitedForRoomIsPreparedOnceTheOneBeforeIsShown) {
  // Rows of 40 MiB and more: two of them do not fit the room for prepared pictures.
  OpenPhotos(4, 3700, 3800);
  RunWorker();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(2) + " " + kAhead), std::string::npos);
  RunWorker();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(3) + " " + kAhead), std::string::npos);
}

TEST_F(DecodeAheadTest, TurningBackRightAfterOpeningPreparesThePictureAfterTheFirst) {
  // Rows of 40 MiB and more, so one prepared picture fills the room. Opening prepares
  // entry 2; Page Up shows entry 0, and entry 1 comes next.
  OpenPhotos(4, 3700, 3800);
  RunWorker();
  Key(VK_PRIOR);
  RunWorker();
  Trace();
  Key(VK_NEXT);
  EXPECT_NE(Trace().find(Entry(1) + " " + kAhead), std::string::npos);
}

TEST_F(DecodeAheadTest, TheNextGridPageIsPreparedSmall) {
  OpenPhotos(18, 700, 520);
  Form1->N20->Click();
  Key(VK_PRIOR);  // page 0 again; page 1 comes next
  RunWorker();
  Trace();
  Key(VK_NEXT);
  const std::string trace = Trace();
  for (int32_t i = 9; i < 18; ++i)
    EXPECT_NE(trace.find(Entry(i) + " " + kAhead), std::string::npos) << i;
  EXPECT_EQ(Form1->DXImageList1->Items().Items(1)->Picture().Width(), 350);
  const std::vector<uint8_t> shown = SurfaceBytes(*Form1->DXDraw1->Primary());
  Form1->DecodeAhead().SetMode(TDecodeAhead::TMode::Off);
  Key(VK_PRIOR);
  Key(VK_NEXT);
  EXPECT_EQ(SurfaceBytes(*Form1->DXDraw1->Primary()), shown);
}

TEST_F(DecodeAheadTest, ThePointerIsNotBusyOnceTheFrameIsPresented) {
  OpenPhotos(3);
  Key(VK_NEXT);
  EXPECT_FALSE(Form1->BusyPointer().Shown());
}

}  // namespace
