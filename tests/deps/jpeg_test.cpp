// The JPEG library links and works in both builds: a picture made here is
// compressed and decoded again.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

struct ErrorTrap {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

std::vector<unsigned char> Compress(const std::vector<unsigned char>& rgb, int width, int height) {
  jpeg_compress_struct cinfo{};
  ErrorTrap trap{};
  cinfo.err = jpeg_std_error(&trap.pub);
  trap.pub.error_exit = OnJpegError;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(trap.jump)) {
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return {};
  }
  jpeg_create_compress(&cinfo);
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = const_cast<unsigned char*>(&rgb[cinfo.next_scanline * width * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<unsigned char> out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

std::vector<unsigned char> Decompress(const std::vector<unsigned char>& jpeg, int& width, int& height) {
  jpeg_decompress_struct dinfo{};
  ErrorTrap trap{};
  dinfo.err = jpeg_std_error(&trap.pub);
  trap.pub.error_exit = OnJpegError;
  if (setjmp(trap.jump)) {
    jpeg_destroy_decompress(&dinfo);
    return {};
  }
  jpeg_create_decompress(&dinfo);
  jpeg_mem_src(&dinfo, jpeg.data(), jpeg.size());
  jpeg_read_header(&dinfo, TRUE);
  dinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&dinfo);
  width = static_cast<int>(dinfo.output_width);
  height = static_cast<int>(dinfo.output_height);
  std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
  while (dinfo.output_scanline < dinfo.output_height) {
    JSAMPROW row = &rgb[dinfo.output_scanline * width * 3];
    jpeg_read_scanlines(&dinfo, &row, 1);
  }
  jpeg_finish_decompress(&dinfo);
  jpeg_destroy_decompress(&dinfo);
  return rgb;
}

TEST(Jpeg, DecodesAPictureItMade) {
  const int width = 16, height = 8;
  std::vector<unsigned char> rgb(width * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      unsigned char* p = &rgb[(y * width + x) * 3];
      p[0] = x < 8 ? 200 : 20;  // red left half
      p[1] = 40;
      p[2] = x < 8 ? 30 : 220;  // blue right half
    }
  auto jpeg = Compress(rgb, width, height);
  ASSERT_GT(jpeg.size(), 4u);
  EXPECT_EQ(jpeg[0], 0xFF);
  EXPECT_EQ(jpeg[1], 0xD8);

  int w = 0, h = 0;
  auto decoded = Decompress(jpeg, w, h);
  ASSERT_EQ(w, width);
  ASSERT_EQ(h, height);
  auto near = [](int a, int b) { return std::abs(a - b) <= 12; };
  const unsigned char* left = &decoded[(4 * width + 2) * 3];
  const unsigned char* right = &decoded[(4 * width + 13) * 3];
  EXPECT_TRUE(near(left[0], 200) && near(left[2], 30)) << int(left[0]) << "," << int(left[2]);
  EXPECT_TRUE(near(right[0], 20) && near(right[2], 220)) << int(right[0]) << "," << int(right[2]);
}

TEST(Jpeg, RejectsDataThatIsNoJpeg) {
  std::vector<unsigned char> junk = {0x00, 0x01, 0x02, 0x03, 0x04};
  int w = 0, h = 0;
  EXPECT_TRUE(Decompress(junk, w, h).empty());
}

}  // namespace
