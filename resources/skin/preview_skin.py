#!/usr/bin/env python3
"""Composes rough previews of the skin for whoever changes its look:

    preview_skin.py SKIN_DIR OUT_DIR

SKIN_DIR holds the PNGs of generate_skin.py. OUT_DIR receives
main_page.png and download_page.png (the installer's main window laid out
as its description places the images, without text) and sheet.png (every
image on a checker board, with all strip cells). Captions are not drawn
here; the real window (tools/uikit_gallery) shows them.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from skin_canvas import Canvas, read_png, rect, rgb  # noqa: E402


def crop(src, x0, y0, x1, y1):
    out = Canvas(max(0, x1 - x0), max(0, y1 - y0))
    for y in range(out.height):
        for x in range(out.width):
            s = ((y0 + y) * src.width + x0 + x) * 4
            d = (y * out.width + x) * 4
            out.px[d:d + 4] = src.px[s:s + 4]
    return out


def scale(src, width, height):
    out = Canvas(max(0, width), max(0, height))
    if src.width == 0 or src.height == 0:
        return out
    for y in range(out.height):
        sy = min(src.height - 1, int((y + 0.5) * src.height / height))
        for x in range(out.width):
            sx = min(src.width - 1, int((x + 0.5) * src.width / width))
            s = (sy * src.width + sx) * 4
            d = (y * out.width + x) * 4
            out.px[d:d + 4] = src.px[s:s + 4]
    return out


def nine_part(dst, img, x0, y0, x1, y1, corners):
    cl, ct, cr, cb = corners
    dxs = [x0, x0 + cl, x1 - cr, x1]
    dys = [y0, y0 + ct, y1 - cb, y1]
    sxs = [0, cl, img.width - cr, img.width]
    sys_ = [0, ct, img.height - cb, img.height]
    for r in range(3):
        for c in range(3):
            piece = crop(img, sxs[c], sys_[r], sxs[c + 1], sys_[r + 1])
            dst.blit(scale(piece, dxs[c + 1] - dxs[c], dys[r + 1] - dys[r]), dxs[c], dys[r])


def cell(img, index, cells):
    w = img.width // cells
    return crop(img, index * w, 0, (index + 1) * w, img.height)


def button(dst, img, x, y, w, h, state=0):
    c = cell(img, state, 4)
    if c.width < w or c.height < h:
        nine_part(dst, c, x, y, x + w, y + h, (3, 6, 3, 6))
    else:
        dst.blit(scale(c, w, h), x, y)


def window(skin):
    win = Canvas(492, 402)
    nine_part(win, skin["ABOUTDIALOG"], 0, 0, 492, 402, (10, 10, 10, 10))
    win.blit(scale(skin["APP"], 480, 240), 6, 6)
    win.blit(skin["APPLOGO"], 16, 14)
    win.blit(cell(skin["DLG_BTN_CLOSE"], 0, 4), 492 - 33, 21)
    win.blit(cell(skin["DLG_BTN_MIN"], 0, 4), 492 - 76, 21)
    return win


def main(argv):
    skin_dir, out_dir = argv[1], argv[2]
    os.makedirs(out_dir, exist_ok=True)
    skin = {}
    for name in os.listdir(skin_dir):
        if name.endswith(".png"):
            skin[name[:-4]] = read_png(os.path.join(skin_dir, name))

    main_page = window(skin)
    px, py = 6, 246
    button(main_page, skin["DLG_BTN_INSTALL"], px + 160, py + 28, 180, 42)
    main_page.blit(cell(skin["CHECKBOX"], 1, 2), px + 20, py + 89 + 3)
    main_page.write_png(os.path.join(out_dir, "main_page.png"))

    download = window(skin)
    download.fill(rect(px + 20, py + 84, px + 20 + 405, py + 86), rgb("35353D"))
    download.blit(scale(skin["PROGRESS"], 202, 2), px + 20, py + 84)
    download.blit(skin["DOWNLOADPOINT"], px + 382, py + 82)
    download.blit(skin["LIGHTPOINT"], px + 20 + 202 - 6 - 16, py + 84 + 1 - 15)
    download.write_png(os.path.join(out_dir, "download_page.png"))

    sheet = Canvas(520, 330)
    for y in range(0, sheet.height, 8):
        for x in range(0, sheet.width, 8):
            shade = rgb("2A2A2A") if (x // 8 + y // 8) % 2 else rgb("3A3A3A")
            sheet.fill(rect(x, y, x + 8, y + 8), shade)
    y = 8
    order = ["DLG_BTN_INSTALL", "SELECTPATH", "BACKMAIN", "CHECKBOX", "DLG_BTN_CLOSE",
             "DLG_BTN_MIN", "EDIT_INSTALL_BACK", "LIGHTPOINT", "DOWNLOADPOINT", "PROGRESS",
             "APPLOGO", "ABOUTDIALOG"]
    x = 8
    for name in order:
        img = skin[name]
        if x + img.width > sheet.width - 8:
            x = 8
            y += row_height + 8
        if x == 8:
            row_height = 0
        sheet.blit(img, x, y)
        x += img.width + 10
        row_height = max(row_height, img.height)
    sheet.write_png(os.path.join(out_dir, "sheet.png"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
