// The program's messages, one line each: LANTERNFIN_MESSAGE(Id, "English", "中文").
// {1}, {2}, ... stand for the arguments, in either language's order. A new message is one line
// here, in any place; code names it core::MessageId::Id (see messages.h). No include guard: this
// list is included where the macro is defined.

// Put in as given: text worded elsewhere (a system's error text, a reader's refusal).
LANTERNFIN_MESSAGE(Verbatim, "{1}", "{1}")

// Refusals of the readers of amounts, dates and numerals (core/amount_number, amount_reading,
// bill_date, numerals): a place, then the reason.
LANTERNFIN_MESSAGE(RefusedAtCharacter, "character {1} “{2}”: {3}", "第{1}个字“{2}”：{3}")
LANTERNFIN_MESSAGE(RefusedAtEnd, "character {1}: {2}", "第{1}个字：{2}")
LANTERNFIN_MESSAGE(NoNumberToConvert, "no number to convert", "没有可换算的数字")
LANTERNFIN_MESSAGE(SignTwice, "the sign is written twice: the amount may be positive or negative",
                   "正负号重复，看不出金额是正是负")
LANTERNFIN_MESSAGE(CurrencyTwice, "the currency sign is written twice", "货币符号重复")
LANTERNFIN_MESSAGE(ParenthesisTwice, "the parenthesis is written twice: the amount may be positive or negative",
                   "括号重复，看不出金额是正是负")
LANTERNFIN_MESSAGE(DashNotMinus, "this may or may not be a minus sign (write “-” or “负” for a negative amount)",
                   "看不出是不是负号（负数请写“-”或“负”）")
LANTERNFIN_MESSAGE(ParenthesesAndSign, "parentheses and a sign together: the amount may be positive or negative",
                   "括号和正负号同时出现，看不出金额是正是负")
LANTERNFIN_MESSAGE(NumeralsAfterNumber, "more numerals follow the number: it is not one clear amount",
                   "数字后面还有数字，不是一个明确的金额")
LANTERNFIN_MESSAGE(MinusAfterNumber,
                   "a minus sign after the number belongs to no clear amount (write it before the number)",
                   "数字后面的负号看不出属于哪个金额（负数请把负号写在数字前面）")
LANTERNFIN_MESSAGE(ParenthesesNotAround, "the parentheses do not enclose the whole amount: it may or may not be negative",
                   "括号没有括住整个金额，看不出是不是负数")
LANTERNFIN_MESSAGE(MoreThanOneNumber, "the text holds more than one number: it is not one clear amount",
                   "文中不止一个数字，不是一个明确的金额")
LANTERNFIN_MESSAGE(NoAmount, "no amount", "没有金额")
LANTERNFIN_MESSAGE(NotCapitalDigit,
                   "looks like a part of the amount but is not written in capitals (the capital digits are 零壹贰叁肆伍陆柒捌玖)",
                   "像是金额的一部分，不是金额用字（大写数字是零壹贰叁肆伍陆柒捌玖）")
LANTERNFIN_MESSAGE(DashNotMinusCapitals, "this may or may not be a minus sign (write “负” for a negative amount)",
                   "看不出是不是负号（负数请写“负”）")
LANTERNFIN_MESSAGE(DigitPlaceUnclear, "a digit without a unit: its place is unclear (a “零” should come before the ones)",
                   "没有单位，说不清是哪一位（个位前应有“零”）")
LANTERNFIN_MESSAGE(DigitMissingAfterZero, "a digit is missing after “零”", "“零”后缺少数字")
LANTERNFIN_MESSAGE(NoJiaoFenAfterZheng, "no 角 or 分 may follow “整”", "“整”之后不能再有角分")
LANTERNFIN_MESSAGE(NothingAfterZheng, "nothing may follow “整”", "“整”之后不能再有字")
LANTERNFIN_MESSAGE(MinusOnlyFirst, "“负” may only come first", "“负”只能写在最前面")
LANTERNFIN_MESSAGE(NotAmountCharacter, "not a character of amounts in capitals", "不是金额用字")
LANTERNFIN_MESSAGE(TwoDigitsInARow, "two digits in a row: the first lacks its unit", "两个数字相连，前一个缺少单位")
LANTERNFIN_MESSAGE(DigitBeforeZeroLacksUnit, "the digit before “零” lacks its unit", "“零”前的数字缺少单位")
LANTERNFIN_MESSAGE(ZeroTwice, "“零” is written twice", "“零”重复")
LANTERNFIN_MESSAGE(NotAfterYuan, "cannot come after “圆”", "不能写在“圆”之后")
LANTERNFIN_MESSAGE(UnitTwice, "the unit is written twice", "单位重复")
LANTERNFIN_MESSAGE(UnitLargerThanBefore, "units out of order: larger than the unit before", "单位顺序不对，比前面的单位大")
LANTERNFIN_MESSAGE(UnitOutOfOrder, "units out of order", "单位顺序不对")
LANTERNFIN_MESSAGE(DigitMissingBeforeUnit, "a digit is missing before the unit", "单位前缺少数字")
LANTERNFIN_MESSAGE(ZeroMissing, "a “零” is missing before it", "前面缺少“零”")
LANTERNFIN_MESSAGE(ZeroSurplus, "a “零” too many", "多余的“零”")
LANTERNFIN_MESSAGE(YuanTwice, "“圆” is written twice", "“圆”重复")
LANTERNFIN_MESSAGE(DigitMissingBeforeYuan, "a digit is missing before “圆”", "“圆”前缺少数字")
LANTERNFIN_MESSAGE(JiaoBeforeFen, "units out of order: “角” comes before “分”", "单位顺序不对，“角”应在“分”之前")
LANTERNFIN_MESSAGE(YuanMissing, "a “圆” is missing before it", "前面缺少“圆”")
LANTERNFIN_MESSAGE(NoZhengAfterFen, "“整” is not written after “分”", "“分”之后不写“整”")
LANTERNFIN_MESSAGE(UnitMissing, "a unit is missing", "缺少单位")
LANTERNFIN_MESSAGE(ZhengMissing, "the amount is incomplete: “整” is missing", "金额不完整，缺少“整”")
LANTERNFIN_MESSAGE(ZeroMissingWrite, "a “零” is missing before it (write: {1})", "前面缺少“零”（应写作：{1}）")
LANTERNFIN_MESSAGE(ZeroSurplusWrite, "a “零” too many (write: {1})", "多余的“零”（应写作：{1}）")
LANTERNFIN_MESSAGE(NotStandardAmount, "not the standard writing of this amount (write: {1})",
                   "不是这个金额的规范写法（应写作：{1}）")
LANTERNFIN_MESSAGE(CapitalsSayOther, "the capitals say {1}, not {2}", "大写金额是 {1}，不是 {2}")
LANTERNFIN_MESSAGE(DateDoesNotExist, "the date {2}-{3}-{4} from character {1} does not exist: {5}",
                   "第{1}个字起的日期“{2}年{3}月{4}日”不存在：{5}")
LANTERNFIN_MESSAGE(NoYearZero, "there is no year 0", "没有公元0年")
LANTERNFIN_MESSAGE(NoSuchMonth, "there is no month {1}", "没有{1}月")
LANTERNFIN_MESSAGE(NoDayZero, "there is no day 0", "没有0日")
LANTERNFIN_MESSAGE(DaysInMonth, "{1}-{2} has only {3} days", "{1}年{2}月只有{3}天")
LANTERNFIN_MESSAGE(DateLacksDay, "“{2}” from character {1} lacks the day: no complete date found",
                   "第{1}个字起的“{2}”缺少日，没有找到完整的日期")
LANTERNFIN_MESSAGE(NoDateFound, "no date found (such as 2026-12-07 or 2026年12月7日)",
                   "没有找到日期（例如2026-12-07或2026年12月7日）")
LANTERNFIN_MESSAGE(TooManyDecimals, "too many decimal places: at most {1}", "小数位数太多，最多{1}位")
LANTERNFIN_MESSAGE(NoNumeral, "no number", "没有数字")
LANTERNFIN_MESSAGE(NotChineseNumeral, "not a Chinese numeral", "不是中文数字")
LANTERNFIN_MESSAGE(LiangMisplaced, "“两” is used only before 百, 千, 万 and 亿: write “二” or “贰” here",
                   "“两”只用在百、千、万、亿前面，这里请写作“二”或“贰”")
LANTERNFIN_MESSAGE(CapitalsMixed, "capital and ordinary numerals are mixed", "大写数字与小写数字混用")
LANTERNFIN_MESSAGE(DigitLacksUnit, "the digit lacks its unit", "数字后缺少单位")
LANTERNFIN_MESSAGE(NumberMissingAfterMinus, "a number is missing after “负”", "“负”后缺少数字")
LANTERNFIN_MESSAGE(DigitMissingBefore, "a digit is missing before it", "前面缺少数字")
LANTERNFIN_MESSAGE(DigitMissingAfterPoint, "a digit is missing after “点”", "“点”后缺少数字")
LANTERNFIN_MESSAGE(DecimalsDigitsOnly, "the decimal part holds digits only", "小数部分只能写数字")
LANTERNFIN_MESSAGE(NumeralsIncomplete, "incomplete: write “{1}”", "写法不完整，应写作“{1}”")
LANTERNFIN_MESSAGE(NotStandardNumerals, "not the standard writing: write “{1}”", "不是规范写法，应写作“{1}”")
LANTERNFIN_MESSAGE(UnknownMoneyWay, "unknown way", "未知的方式")

// Usage errors of lanternfin-cli: its own, and CLI11's worded again (cli/usage_errors.cpp). The
// English follows CLI11's own words; names of options and commands stay as they are.
LANTERNFIN_MESSAGE(UsageLine, "Usage: {1} {2}  (see {1} --help)", "用法：{1} {2}（详见 {1} --help）")
LANTERNFIN_MESSAGE(UnknownCommand, "unknown command: {1}", "没有这个命令：{1}")
LANTERNFIN_MESSAGE(NoCommandGiven, "no command given", "没有给出命令")
LANTERNFIN_MESSAGE(InPlaceNeedsFiles, "needs the files to rewrite", "需要给出要改写的文件")
LANTERNFIN_MESSAGE(InPlaceNotStandardInput, "cannot rewrite standard input", "不能改写标准输入")
LANTERNFIN_MESSAGE(VerifyNotANumber, "NUMBER is not a number: {1}", "NUMBER 不是数字：{1}")
LANTERNFIN_MESSAGE(VerifyNotANumberWhy, "NUMBER is not a number: {1} ({2})", "NUMBER 不是数字：{1}（{2}）")
LANTERNFIN_MESSAGE(ValuesFromInput, "takes its values from the input, not as arguments", "从输入读取数值，不接受数值参数")
LANTERNFIN_MESSAGE(TextsFromInput, "takes its texts from the input, not as arguments", "从输入读取文字，不接受文字参数")
LANTERNFIN_MESSAGE(NeedsThreeValues, "needs the three values A B C", "需要 A B C 三个值")
LANTERNFIN_MESSAGE(WeiValues, "WEI is 0, 1 or 2", "WEI 只能是 0、1 或 2")
LANTERNFIN_MESSAGE(RoundArguments, "takes WEI and at most one TEXT", "只接受 WEI 和至多一个 TEXT")
LANTERNFIN_MESSAGE(UnexpectedArgument, "The following argument was not expected: {1}", "多余的参数：{1}")
LANTERNFIN_MESSAGE(UnexpectedArguments, "The following arguments were not expected: {1}", "多余的参数：{1}")
LANTERNFIN_MESSAGE(ArgumentMissing, "{1}: {2} required {3} missing", "{1}：缺少 {2} 个 {3} 参数")
LANTERNFIN_MESSAGE(ArgumentsExpected, "Expected exactly {1} arguments to {2}, got {3}", "{2} 需要正好 {1} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(ArgumentsAtLeast, "{1}: At least {2} required but received {3}", "{1} 至少需要 {2} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(ArgumentsAtMost, "{1}: At Most {2} required but received {3}", "{1} 至多接受 {2} 个参数，这里有 {3} 个")
LANTERNFIN_MESSAGE(OptionRequired, "{1} is required", "必须给出 {1}")
LANTERNFIN_MESSAGE(OptionExcludes, "{1} excludes {2}", "{1} 不能与 {2} 同用")
LANTERNFIN_MESSAGE(OptionRequires, "{1} requires {2}", "{1} 需要同时给出 {2}")
LANTERNFIN_MESSAGE(ValueNotAllowed, "{1}: {2} not in {3}", "{1}：{2} 不是可选的值 {3} 之一")
LANTERNFIN_MESSAGE(ValueNotInRange, "{1}: Value {2} not in range {3} to {4}", "{1}：值 {2} 不在 {3} 到 {4} 的范围内")
LANTERNFIN_MESSAGE(ValueNotConverted, "Could not convert: {1} = {2}", "无法转换：{1} = {2}")
LANTERNFIN_MESSAGE(FlagTakesNoValue, "{1}: too many inputs for a flag", "{1}：开关选项不接受值")

// Why a data file (dictionary, configuration, prepared image, pinyin data) is not loaded: the WHY
// of CannotLoadWhy.
LANTERNFIN_MESSAGE(NotRegularFile, "not a regular file", "不是普通文件")
LANTERNFIN_MESSAGE(LargerThanBytes, "larger than {1} bytes", "大于 {1} 字节")
LANTERNFIN_MESSAGE(NotOurImage, "not an image of this program", "不是本程序生成的映像文件")
LANTERNFIN_MESSAGE(ImageOfOtherSources, "made from other sources", "由其他来源生成")
LANTERNFIN_MESSAGE(Damaged, "damaged", "文件已损坏")
LANTERNFIN_MESSAGE(NotADataFile, "not a data file", "不是数据文件")
LANTERNFIN_MESSAGE(PinyinDataBigEndian, "data files are little-endian", "数据文件是小端字节序的")
LANTERNFIN_MESSAGE(PinyinDataTooShort, "too short for a pinyin data file", "太短，不是拼音数据文件")
LANTERNFIN_MESSAGE(NotPinyinData, "not a pinyin data file", "不是拼音数据文件")
LANTERNFIN_MESSAGE(PinyinDataOtherVersion, "pinyin data of another format version", "拼音数据的格式版本不同")
LANTERNFIN_MESSAGE(PinyinDataNotAligned, "data not aligned", "数据没有对齐")
LANTERNFIN_MESSAGE(PinyinDataDamaged, "damaged pinyin data ({1})", "拼音数据已损坏（{1}）")
LANTERNFIN_MESSAGE(GroupsTooDeep, "groups nested deeper than {1}", "词典组嵌套超过 {1} 层")
LANTERNFIN_MESSAGE(DictionaryWithoutType, "a dictionary without a type", "词典没有 type")
LANTERNFIN_MESSAGE(TofuNotBoolean, "may_output_tofu is not true or false", "may_output_tofu 不是 true 或 false")
LANTERNFIN_MESSAGE(UnknownMatchPolicy, "unknown match_policy", "未知的 match_policy")
LANTERNFIN_MESSAGE(GroupWithoutDicts, "a group without dicts", "词典组没有 dicts")
LANTERNFIN_MESSAGE(InlineWithoutEntries, "inline dictionary {1} without entries", "内联词典 {1} 没有 entries")
LANTERNFIN_MESSAGE(InlineEntryNotText, "inline dictionary {1}: the entry \"{2}\" is not text", "内联词典 {1}：条目“{2}”不是文字")
LANTERNFIN_MESSAGE(UnknownDictionaryType, "unknown dictionary type {1}", "未知的词典类型 {1}")
LANTERNFIN_MESSAGE(ChainNotList, "a chain that is not a list", "转换链不是列表")
LANTERNFIN_MESSAGE(StepWithoutDict, "a step without a dict", "转换步骤没有 dict")
LANTERNFIN_MESSAGE(NotJson, "not JSON", "不是 JSON")
LANTERNFIN_MESSAGE(NoConversionChain, "no conversion_chain", "没有 conversion_chain")
LANTERNFIN_MESSAGE(SegmentationNotMmseg, "a segmentation other than mmseg", "分词方式不是 mmseg")
LANTERNFIN_MESSAGE(LineHasNoTab, "line {1} has no tab", "第 {1} 行没有制表符")
LANTERNFIN_MESSAGE(KeyTwice, "the key {1} is there twice", "键 {1} 出现了两次")
LANTERNFIN_MESSAGE(NotAnObjectOfEntries, "not an object of entries", "不是条目的对象")
LANTERNFIN_MESSAGE(NoEntries, "no entries", "没有条目")
LANTERNFIN_MESSAGE(EntryEmptyOrNotText, "the entry \"{1}\" is empty or not text", "条目“{1}”为空或不是文字")
LANTERNFIN_MESSAGE(NotOpenccDictionary, "not an OpenCC dictionary of its type", "不是所标类型的 OpenCC 词典")
LANTERNFIN_MESSAGE(DamagedDictionary, "damaged dictionary", "词典已损坏")
LANTERNFIN_MESSAGE(InDictionary, "{1}: {2}", "{1}：{2}")
LANTERNFIN_MESSAGE(NoWindows936, "ICU has no windows-936 converter: {1}", "ICU 没有 windows-936 转换器：{1}")

// The system's reasons (errno) that files meet most, worded as glibc words them; any other is
// put in as strerror gives it.
LANTERNFIN_MESSAGE(ErrorNoEntry, "No such file or directory", "没有那个文件或目录")
LANTERNFIN_MESSAGE(ErrorAccess, "Permission denied", "权限不够")
LANTERNFIN_MESSAGE(ErrorNoSpace, "No space left on device", "设备上没有空间")
LANTERNFIN_MESSAGE(ErrorIsDirectory, "Is a directory", "是一个目录")
LANTERNFIN_MESSAGE(ErrorNotDirectory, "Not a directory", "不是目录")
LANTERNFIN_MESSAGE(ErrorReadOnly, "Read-only file system", "只读文件系统")
LANTERNFIN_MESSAGE(ErrorExists, "File exists", "文件已存在")
LANTERNFIN_MESSAGE(ErrorNameTooLong, "File name too long", "文件名过长")
LANTERNFIN_MESSAGE(ErrorLoop, "Too many levels of symbolic links", "符号链接的层数过多")

// The folder runs of lanternfin-cli (-O DST): what happened to one file (the mirror's own reasons are
// with the folders below).
LANTERNFIN_MESSAGE(IsAFolderNeedsR, "is a folder (-r converts folders with all they hold)", "是文件夹（-r 会转换文件夹及其全部内容）")
LANTERNFIN_MESSAGE(CannotCreateOutputFolder, "cannot create the output folder: {1}", "无法创建输出文件夹：{1}")
LANTERNFIN_MESSAGE(NotAFolder, "is not a folder", "不是文件夹")

// Usage errors of the window's program (lanternfin), in the locale's language as lanternfin-cli's;
// the middle three are QCommandLineParser's own texts worded again.
LANTERNFIN_MESSAGE(TryHelp, "{1}\nTry '{2} --help'.", "{1}\n请用“{2} --help”查看用法。")
LANTERNFIN_MESSAGE(UnknownOption, "Unknown option '{1}'.", "没有“{1}”这个选项。")
LANTERNFIN_MESSAGE(MissingValueAfter, "Missing value after '{1}'.", "“{1}”后面缺少值。")
LANTERNFIN_MESSAGE(UnexpectedValueAfter, "Unexpected value after '{1}'.", "“{1}”后面不应有值。")
LANTERNFIN_MESSAGE(UnexpectedArgumentQuoted, "unexpected argument '{1}'", "多余的参数“{1}”")
LANTERNFIN_MESSAGE(GiveOneAction, "give one of --toggle, --show, --quit, --tray and --clipboard",
                   "--toggle、--show、--quit、--tray 和 --clipboard 只能给出其中一个")

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

// The document engine's reasons for refusing a part whose markup it cannot read.
LANTERNFIN_MESSAGE(XmlWhyAtByte, "{2} at byte {1}", "第 {1} 字节处{2}")
LANTERNFIN_MESSAGE(XmlNotUtf8, "not valid UTF-8", "不是有效的 UTF-8")
LANTERNFIN_MESSAGE(XmlStrayAmpersand, "an & that begins no reference", "“&”后面不是字符引用")
LANTERNFIN_MESSAGE(XmlMarkupCutOff, "markup cut off at the end", "标记在结尾处被截断")
LANTERNFIN_MESSAGE(XmlPiNotClosed, "processing instruction not closed", "处理指令没有结束")
LANTERNFIN_MESSAGE(XmlPiWithoutTarget, "processing instruction without a target", "处理指令没有目标")
LANTERNFIN_MESSAGE(XmlCommentNotClosed, "comment not closed", "注释没有结束")
LANTERNFIN_MESSAGE(XmlCdataNotClosed, "CDATA section not closed", "CDATA 段没有结束")
LANTERNFIN_MESSAGE(XmlDoctypeUnbalanced, "DOCTYPE with an unbalanced internal subset", "DOCTYPE 的内部子集括号不配对")
LANTERNFIN_MESSAGE(XmlDoctypeEntities, "DOCTYPE declares entities, which are not expanded here", "DOCTYPE 声明了实体，本程序不展开实体")
LANTERNFIN_MESSAGE(XmlDoctypeNotClosed, "DOCTYPE not closed", "DOCTYPE 没有结束")
LANTERNFIN_MESSAGE(XmlDeclarationNotClosed, "markup declaration not closed", "标记声明没有结束")
LANTERNFIN_MESSAGE(XmlUnknownDeclaration, "unknown markup declaration", "未知的标记声明")
LANTERNFIN_MESSAGE(XmlTagWithoutName, "a tag without a name", "标签没有名称")
LANTERNFIN_MESSAGE(XmlEndTagNotClosed, "end tag not closed", "结束标签没有结束")
LANTERNFIN_MESSAGE(XmlTagNotClosed, "tag not closed", "标签没有结束")
LANTERNFIN_MESSAGE(XmlStraySlash, "stray / in a tag", "标签里有多余的“/”")
LANTERNFIN_MESSAGE(XmlAttributesNotSeparated, "attributes must be separated by white space", "属性之间必须有空白")
LANTERNFIN_MESSAGE(XmlBadAttributeName, "a bad attribute name", "属性名称不合法")
LANTERNFIN_MESSAGE(XmlAttributeValueNotClosed, "attribute value not closed", "属性值没有结束")
LANTERNFIN_MESSAGE(XmlLessThanInAttribute, "< in an attribute value", "属性值里有“<”")
LANTERNFIN_MESSAGE(XmlAttributeValueNotQuoted, "attribute value not quoted", "属性值没有加引号")
LANTERNFIN_MESSAGE(XmlAttributeWithoutValue, "attribute without a value", "属性没有值")
LANTERNFIN_MESSAGE(XmlBadReference, "malformed reference", "字符引用不合法")
LANTERNFIN_MESSAGE(XmlElementNotClosed, "element <{1}> not closed at the end", "元素 <{1}> 到结尾都没有结束")
LANTERNFIN_MESSAGE(XmlEndTagMismatch, "end tag </{1}> does not match at byte {2}", "第 {2} 字节处的结束标签 </{1}> 与开始标签不配")
