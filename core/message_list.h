// The program's messages, one line each: LANTERNFIN_MESSAGE(Id, "English", "中文").
// {1}, {2}, ... stand for the arguments, in either language's order. A new message is one line
// here, in any place; code names it core::MessageId::Id (see messages.h). No include guard: this
// list is included where the macro is defined.

// Put in as given: text worded elsewhere (a system's error text, a reader's refusal).
LANTERNFIN_MESSAGE(Verbatim, "{1}", "{1}")

// Lines of input, files and data.
LANTERNFIN_MESSAGE(Line, "line {1}: {2}", "第 {1} 行：{2}")
LANTERNFIN_MESSAGE(InvalidUtf8, "input is not valid UTF-8", "输入不是有效的 UTF-8")
LANTERNFIN_MESSAGE(CannotRead, "cannot read: {1}", "无法读取：{1}")
LANTERNFIN_MESSAGE(CannotOpen, "cannot open: {1}", "无法打开：{1}")
LANTERNFIN_MESSAGE(CannotWrite, "cannot write: {1}", "无法写入：{1}")
LANTERNFIN_MESSAGE(DocumentNotJoined, "is a document, which cannot be joined with other inputs into one file (convert it alone, or use -O DST)",
                   "是文档，不能与其他输入合并成一个文件（请单独转换，或用 -O DST）")
LANTERNFIN_MESSAGE(FifoInPlace, "is a FIFO, which cannot be converted in place (read it and write with -o)",
                   "是一个 FIFO，无法就地转换（请读取它并用 -o 写出）")
LANTERNFIN_MESSAGE(CannotLoad, "cannot load {1}", "无法载入 {1}")
LANTERNFIN_MESSAGE(CannotLoadWhy, "cannot load {1}: {2}", "无法载入 {1}：{2}")
LANTERNFIN_MESSAGE(NoPinyinTable, "the pinyin table is not loaded", "拼音表没有载入")
LANTERNFIN_MESSAGE(NoPinyinData, "no pinyin data", "没有拼音数据")

// The tray's 登录时启动, whose failures only the window shows.
LANTERNFIN_MESSAGE(NotAnAutostartEntry, "{1} is not an autostart entry (not a small regular file); it is left as it is",
                   "{1} 不是自动启动项（不是小的普通文件），保持原样")
LANTERNFIN_MESSAGE(CannotMakeFolder, "cannot make the folder {1}", "无法创建文件夹 {1}")

// The calculator.
LANTERNFIN_MESSAGE(NoResult, "no result", "没有结果")
LANTERNFIN_MESSAGE(NotANumber, "not a number", "不是数字")
LANTERNFIN_MESSAGE(BoxNotANumber, "{1} is not a number", "{1} 不是数字")
LANTERNFIN_MESSAGE(ZeroA, "no result: a is 0", "没有结果：a 为 0")
LANTERNFIN_MESSAGE(OutOfRange, "no result: out of range", "没有结果：超出数的范围")
LANTERNFIN_MESSAGE(RatioFieldCount, "needs the three values a b c, found {1}", "需要 a b c 三个值，这里有 {1} 个")

// The ways of the buttons and the clipboard commands.
LANTERNFIN_MESSAGE(UnknownWay, "unknown way {1}", "没有“{1}”这种方式")
LANTERNFIN_MESSAGE(NoTextOnClipboard, "no text on the clipboard", "剪贴板上没有文字")
LANTERNFIN_MESSAGE(ClipboardMoreThanText, "the clipboard holds more than plain text (rich text, a picture or files); converting its text would lose the rest, so it is left as it is (copy it as plain text first)", "剪贴板里不只有纯文本（还有格式、图片或文件）；转换文字会丢掉其余内容，所以保持原样（请先以纯文本复制）")
LANTERNFIN_MESSAGE(ClipboardUnreadable, "the clipboard could not be read", "无法读取剪贴板")
LANTERNFIN_MESSAGE(ClipboardTooSlow, "reading the clipboard took longer than {1} s; its owner does not answer",
                   "读取剪贴板超过 {1} 秒：占有剪贴板的程序没有应答")
LANTERNFIN_MESSAGE(ClipboardReaderNotStarted, "cannot start {1} to read the clipboard: {2}",
                   "无法启动 {1} 读取剪贴板：{2}")
LANTERNFIN_MESSAGE(ClipboardReaderCrashed, "the process reading the clipboard crashed", "读取剪贴板的进程崩溃了")
LANTERNFIN_MESSAGE(ClipboardOwnerSilent, "the program that owns the clipboard does not answer",
                   "占有剪贴板的程序没有应答")
LANTERNFIN_MESSAGE(ClipboardReadStatus, "the clipboard could not be read (status {1})", "无法读取剪贴板（状态 {1}）")
LANTERNFIN_MESSAGE(NothingToRestore, "no clipboard conversion to undo", "没有可以还原的剪贴板转换")
LANTERNFIN_MESSAGE(ClipboardChanged,
                   "the clipboard changed since the conversion; nothing was restored, so what it holds now is kept",
                   "剪贴板在转换之后已经改变，没有还原，保留它现在的内容")
LANTERNFIN_MESSAGE(GivenUpBeforeStart, "the command was given up before it started; the clipboard is unchanged",
                   "命令在开始之前已放弃，剪贴板没有改变")
LANTERNFIN_MESSAGE(GivenUpBeforeEnd, "the command was given up before it finished; the clipboard is unchanged",
                   "命令在完成之前已放弃，剪贴板没有改变")
LANTERNFIN_MESSAGE(AmountTooLarge, "the amount is too large: it must be below 10^16",
                   "数目太大，无法换算！请输入一亿亿以下的数字")
LANTERNFIN_MESSAGE(UnknownClipboardCommand, "unknown clipboard command '{1}' (one of {2})",
                   "没有剪贴板命令“{1}”（可用：{2}）")

// Folders mirrored, by the command line's -O and by the window.
LANTERNFIN_MESSAGE(NameNotConverted, "its name cannot be converted (the way refuses it, or it would be empty or hold a slash)",
                   "名称无法转换（这种方式不接受它，或转换后为空、含有斜杠）")
LANTERNFIN_MESSAGE(NamesCollide, "would be written as {1}, as would {2}; neither is written",
                   "会写成 {1}，{2} 也会写成它；两者都没有写")
LANTERNFIN_MESSAGE(NotFileFolderOrLink, "is not a file, a folder or a link (a FIFO, socket or device): not copied",
                   "不是文件、文件夹或链接（是 FIFO、套接字或设备）：没有复制")
LANTERNFIN_MESSAGE(CannotOpenFolder, "cannot open the folder: {1}", "无法打开文件夹：{1}")
LANTERNFIN_MESSAGE(CannotCreateFolder, "cannot create the folder: {1}", "无法创建文件夹：{1}")
LANTERNFIN_MESSAGE(CannotReadLink, "cannot read the link: {1}", "无法读取链接：{1}")
LANTERNFIN_MESSAGE(CannotCreateLink, "cannot create the link {1}: {2}", "无法创建链接 {1}：{2}")
LANTERNFIN_MESSAGE(FolderWritten, "{1} (a folder: {2} converted, {3} copied, {4} links)",
                   "{1}（文件夹：转换 {2} 个文件，复制 {3} 个，链接 {4} 个）")
LANTERNFIN_MESSAGE(FolderCancelled, "{1} (a folder, cancelled: it holds only the files finished, each whole)",
                   "{1}（文件夹，已取消：只有已完成的文件，每个都完整）")
LANTERNFIN_MESSAGE(TooManyFoldersBeside, "too many folders of that name beside it", "旁边已有太多同名文件夹")
LANTERNFIN_MESSAGE(SummaryMore, "... and {1} more", "……另有 {1} 个")
// Documents and text files in other encodings, on the command line and in the window.
LANTERNFIN_MESSAGE(EncodingUntold, "cannot tell the encoding of {1}: use --from-encoding GB18030 or BIG5",
                   "无法判断 {1} 的编码：请用 --from-encoding GB18030 或 BIG5 指定")
LANTERNFIN_MESSAGE(EncodingUntoldHere, "cannot tell its encoding (GB18030 or Big5): the text is too short, or reads as either",
                   "无法判断它的编码（GB18030 还是 Big5）：文字太短，或两种读法都通")
LANTERNFIN_MESSAGE(NotChineseText, "is neither UTF-8 text nor Chinese text in GB18030 or Big5",
                   "既不是 UTF-8 文本，也不是 GB18030 或 Big5 编码的中文")
LANTERNFIN_MESSAGE(InvalidInEncoding, "is not valid {1} (byte {2})", "不是有效的 {1}（第 {2} 字节）")
LANTERNFIN_MESSAGE(NoCodeInEncoding, "line {1}: {2} has no code in {3}; nothing written",
                   "第 {1} 行：{2} 在 {3} 中没有编码，什么也没有写入")
LANTERNFIN_MESSAGE(ToEncodingHint, " (--to-encoding UTF-8 or GB18030 can write it)",
                   "（--to-encoding UTF-8 或 GB18030 可以写出它）")
LANTERNFIN_MESSAGE(DocumentTooLarge, "is a document larger than 4 GB, past what a ZIP package can hold",
                   "是大于 4 GB 的文档，超出 ZIP 包能容纳的大小")
LANTERNFIN_MESSAGE(DocumentLines, "is a document, converted whole: --lines converts text only, line by line (leave it out)",
                   "是文档，整个转换：--lines 只逐行转换文本（请去掉它）")
LANTERNFIN_MESSAGE(EncryptedOffice, "is an encrypted Office document: open it, remove its password and save it again (as .docx, .xlsx or .pptx), then convert that",
                   "是加密的 Office 文档：请打开它，去掉密码后重新保存（存为 .docx、.xlsx 或 .pptx），再转换")
LANTERNFIN_MESSAGE(LegacyWord, "is a legacy Word document (.doc), which cannot be converted: open it and save it as .docx, then convert that",
                   "是旧式 Word 文档（.doc），无法转换：请打开它另存为 .docx，再转换")
LANTERNFIN_MESSAGE(LegacyExcel, "is a legacy Excel workbook (.xls), which cannot be converted: open it and save it as .xlsx, then convert that",
                   "是旧式 Excel 工作簿（.xls），无法转换：请打开它另存为 .xlsx，再转换")
LANTERNFIN_MESSAGE(LegacyPowerPoint, "is a legacy PowerPoint presentation (.ppt), which cannot be converted: open it and save it as .pptx, then convert that",
                   "是旧式 PowerPoint 演示文稿（.ppt），无法转换：请打开它另存为 .pptx，再转换")
LANTERNFIN_MESSAGE(LegacyOffice, "is a legacy Office file, which cannot be converted: open it and save it as .docx, .xlsx or .pptx, then convert that",
                   "是旧式 Office 文件，无法转换：请打开它另存为 .docx、.xlsx 或 .pptx，再转换")
LANTERNFIN_MESSAGE(ZipNotDocument, "is a ZIP archive, not a document this program converts (Word, Excel, PowerPoint, OpenDocument or EPUB)",
                   "是 ZIP 压缩包，不是本程序能转换的文档（Word、Excel、PowerPoint、OpenDocument 或 EPUB）")
LANTERNFIN_MESSAGE(ZipNotZip, "not a ZIP archive, or its end is missing", "不是 ZIP 压缩包，或者它的结尾缺失")
LANTERNFIN_MESSAGE(ZipDamaged, "damaged ZIP archive: {1}", "ZIP 压缩包已损坏：{1}")
LANTERNFIN_MESSAGE(ZipEntryUnreadable, "damaged ZIP archive: entry {1} cannot be read", "ZIP 压缩包已损坏：第 {1} 项无法读取")
LANTERNFIN_MESSAGE(ZipTwoEntries, "damaged ZIP archive: it holds two entries named {1}", "ZIP 压缩包已损坏：其中有两项都叫 {1}")
LANTERNFIN_MESSAGE(ZipPartEncrypted, "{1} is encrypted", "{1} 已加密")
LANTERNFIN_MESSAGE(ZipPastSizeLimit, "{1} inflates to {2} bytes, more than the limit of {3} MB",
                   "{1} 解压后有 {2} 字节，超过 {3} MB 的上限")
LANTERNFIN_MESSAGE(ZipPastRatioLimit, "{1} inflates to {2} bytes, more than {3} times its compressed size",
                   "{1} 解压后有 {2} 字节，超过压缩后大小的 {3} 倍")
LANTERNFIN_MESSAGE(ZipMoreThanDeclared, "{1} holds more data than it declares", "{1} 的数据比它声明的多")
LANTERNFIN_MESSAGE(ZipLessThanDeclared, "{1} holds less data than it declares", "{1} 的数据比它声明的少")
LANTERNFIN_MESSAGE(ZipCannotDeflate, "cannot deflate {1}", "无法压缩 {1}")
LANTERNFIN_MESSAGE(ZipNotWritten, "the package was not written", "文档包没有写出")
LANTERNFIN_MESSAGE(IndexPartTooLarge, "{1} is larger than {2} MB", "{1} 大于 {2} MB")
LANTERNFIN_MESSAGE(PartWhy, "{1}: {2}", "{1}：{2}")
LANTERNFIN_MESSAGE(DocumentCancelled, "cancelled", "已取消")
