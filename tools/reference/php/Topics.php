<?php
// The categories of the PHP page and the rules that place each internal
// function in one of them. The big "standard" extension (and the few
// functions of Core) are split into topics as the PHP manual groups them;
// every other extension is one category of its own.

final class Topics
{
    // key => [sort key, Chinese title, English name]. The sort key becomes
    // column "c" of the category, so the categories appear in this order.
    public const CATEGORIES = [
        'construct' => ['语言结构', 'Language constructs'],
        'string'    => ['字符串', 'String'],
        'array'     => ['数组', 'Array'],
        'math'      => ['数学', 'Math'],
        'var'       => ['变量处理', 'Variable handling'],
        'function'  => ['函数处理', 'Function handling'],
        'classobj'  => ['类与对象', 'Classes and objects'],
        'file'      => ['文件系统', 'File system'],
        'dir'       => ['目录', 'Directories'],
        'stream'    => ['流', 'Streams'],
        'output'    => ['输出控制', 'Output control'],
        'url'       => ['URL 处理', 'URLs'],
        'network'   => ['网络', 'Network'],
        'exec'      => ['程序执行', 'Program execution'],
        'error'     => ['错误处理', 'Error handling'],
        'info'      => ['PHP 选项与信息', 'PHP options and info'],
        'password'  => ['密码散列', 'Password hashing'],
        'misc'      => ['杂项', 'Miscellaneous'],
        // one category per further extension, by extension name
        'date'      => ['日期与时间', 'Date/Time'],
        'pcre'      => ['正则表达式', 'PCRE'],
        'mbstring'  => ['多字节字符串', 'Multibyte string'],
        'iconv'     => ['字符集转换', 'iconv'],
        'ctype'     => ['字符类型检测', 'Ctype'],
        'json'      => ['JSON', 'JSON'],
        'session'   => ['会话', 'Session'],
        'filter'    => ['数据过滤', 'Filter'],
        'hash'      => ['哈希', 'Hash'],
        'openssl'   => ['OpenSSL 加密', 'OpenSSL'],
        'sodium'    => ['Sodium 加密', 'Sodium'],
        'random'    => ['随机数', 'Random'],
        'bcmath'    => ['任意精度数学', 'BCMath'],
        'gmp'       => ['大整数', 'GMP'],
        'calendar'  => ['日历', 'Calendar'],
        'mysqli'    => ['MySQL 数据库', 'MySQLi'],
        'pgsql'     => ['PostgreSQL 数据库', 'PostgreSQL'],
        'sqlite3'   => ['SQLite 数据库', 'SQLite3'],
        'PDO'       => ['PDO 数据库访问', 'PDO'],
        'curl'      => ['客户端 URL 库', 'cURL'],
        'ftp'       => ['FTP', 'FTP'],
        'sockets'   => ['套接字', 'Sockets'],
        'soap'      => ['SOAP', 'SOAP'],
        'libxml'    => ['libxml', 'libxml'],
        'xml'       => ['XML 解析器', 'XML Parser'],
        'dom'       => ['DOM', 'DOM'],
        'SimpleXML' => ['SimpleXML', 'SimpleXML'],
        'xmlreader' => ['XMLReader', 'XMLReader'],
        'xmlwriter' => ['XMLWriter', 'XMLWriter'],
        'xsl'       => ['XSL', 'XSL'],
        'gd'        => ['图像处理', 'GD and image'],
        'exif'      => ['图像元数据', 'Exif'],
        'fileinfo'  => ['文件类型信息', 'Fileinfo'],
        'zip'       => ['Zip 压缩', 'Zip'],
        'zlib'      => ['Zlib 压缩', 'Zlib'],
        'Phar'      => ['Phar 归档', 'Phar'],
        'intl'      => ['国际化', 'intl'],
        'gettext'   => ['本地化文本', 'Gettext'],
        'SPL'       => ['标准 PHP 库', 'SPL'],
        'Reflection'=> ['反射', 'Reflection'],
        'tokenizer' => ['词法分析', 'Tokenizer'],
        'Zend OPcache' => ['操作码缓存', 'OPcache'],
        'posix'     => ['POSIX', 'POSIX'],
        'shmop'     => ['共享内存', 'Shared memory'],
        'sysvmsg'   => ['System V 消息队列', 'System V messages'],
        'sysvsem'   => ['System V 信号量', 'System V semaphores'],
        'sysvshm'   => ['System V 共享内存', 'System V shared memory'],
        'FFI'       => ['外部函数接口', 'FFI'],
        'Core'      => ['核心', 'Core'],
        'standard'  => ['标准', 'Standard'],
    ];

    // Extensions that only the command line uses: not offered to web pages.
    public const EXCLUDED_EXTENSIONS = ['readline', 'pcntl'];

    // Rules for Core and standard, tried in order: name pattern => topic.
    private const RULES = [
        '/^(uniqid|php_strip_whitespace)$/' => 'misc',
        '/^strptime$/' => 'date',
        '/^ftok$/' => 'sysvsem',
        '/^(array_|array$|compact$|extract$|range$|count$|sizeof$|in_array$|key$|key_exists$|current$|pos$|next$|prev$|reset$|end$|each$|list$)/' => 'array',
        '/^(sort|rsort|usort|uasort|uksort|asort|arsort|ksort|krsort|natsort|natcasesort|shuffle)$/' => 'array',
        '/^(ob_|output_|flush$)/' => 'output',
        '/^(password_)/' => 'password',
        '/^(stream_|fsockopen$|pfsockopen$|set_socket_blocking$|socket_set_|socket_get_status$)/' => 'stream',
        '/^(opendir|closedir|readdir|rewinddir|scandir|dir|chdir|chroot|getcwd|glob)$/' => 'dir',
        '/^(header|headers_|header_|setcookie|setrawcookie|http_response_code|gethostby|gethostname|getmx|getprotobyn|getservby|dns_|checkdnsrr|getmxrr|inet_|ip2long|long2ip|net_get_interfaces|openlog|closelog|syslog|mail$)/' => 'network',
        '/^(urlencode|urldecode|rawurlencode|rawurldecode|parse_url|http_build_query|get_headers|get_meta_tags|base64_)/' => 'url',
        '/^(exec|system|passthru|shell_exec|escapeshellarg|escapeshellcmd|proc_)/' => 'exec',
        '/^(error_|trigger_error|user_error|set_error_handler|restore_error_handler|set_exception_handler|restore_exception_handler|debug_backtrace|debug_print_backtrace)/' => 'error',
        '/^(func_|call_user_func|forward_static_call|function_exists|register_shutdown_function|register_tick_function|unregister_tick_function|get_defined_functions)/' => 'function',
        '/^(class_|get_class|get_called_class|get_parent_class|get_object_vars|get_mangled_object_vars|method_exists|property_exists|interface_exists|trait_exists|enum_exists|is_a$|is_subclass_of|get_declared_|iterator_)/' => 'classobj',
        '/^(abs|ceil|floor|round|sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|pi|is_finite|is_nan|is_infinite|pow|exp|log|log10|log1p|expm1|sqrt|hypot|deg2rad|rad2deg|bindec|hexdec|octdec|decbin|decoct|dechex|base_convert|fmod|fdiv|intdiv|max|min|array_sum)$/' => 'math',
        '/^(is_dir|is_file|is_link|is_readable|is_writable|is_writeable|is_executable|is_uploaded_file)$/' => 'file',
        '/^(is_|gettype|get_debug_type|settype|intval|floatval|doubleval|boolval|strval|var_|print_r|serialize|unserialize|debug_zval_dump|get_defined_vars|get_resource|get_resources)/' => 'var',
        '/^(ini_|get_cfg_var|getenv|putenv|getopt|set_include_path|get_include_path|get_included_files|get_required_files|extension_loaded|get_extension_funcs|get_loaded_extensions|get_defined_constants|gc_|zend_|php|memory_|getmy|getlastmod|get_current_user|getrusage|sys_get_temp_dir|set_time_limit|assert|version_compare|dl$|cli_|get_magic_quotes)/' => 'info',
        '/^(microtime|gettimeofday)$/' => 'date',
        '/^(getimagesize|getimagesizefromstring|image_type_to_|iptc)/' => 'gd',
        '/^(strlen|strcmp|strncmp|strcasecmp|strncasecmp|crc32|md5|sha1|crypt|levenshtein|similar_text|soundex|metaphone|quoted_printable|convert_uu|sprintf|printf|vprintf|vsprintf|fprintf|vfprintf|sscanf|number_format|money_format|str|substr|nl2br|nl_langinfo|localeconv|setlocale|html|bin2hex|hex2bin|chr|ord|ucfirst|lcfirst|ucwords|wordwrap|trim|ltrim|rtrim|chop|explode|implode|join|addslashes|addcslashes|stripslashes|stripcslashes|quotemeta|chunk_split|count_chars|sha1_file|md5_file|get_html_translation_table|utf8_|lcg_value|uniqid|hebrev|str_)/' => 'string',
        '/^(f|file|is_dir|is_file|is_link|is_readable|is_writable|is_writeable|is_executable|is_uploaded_file|move_uploaded_file|basename|dirname|pathinfo|realpath|tempnam|tmpfile|touch|unlink|rename|copy|mkdir|rmdir|chmod|chown|chgrp|lchown|lchgrp|clearstatcache|disk_|diskfreespace|stat|lstat|readfile|rewind|pclose|popen|link|linkinfo|readlink|symlink|umask|parse_ini_|set_file_buffer|realpath_cache_|fnmatch)/' => 'file',
    ];

    // Section comments of basic_functions.stub.php (the C file of each group)
    // for the functions no rule above places.
    private const SECTIONS = [
        'array.c' => 'array', 'string.c' => 'string', 'math.c' => 'math', 'file.c' => 'file',
        'filestat.c' => 'file', 'dir.c' => 'dir', 'link.c' => 'file', 'streamsfuncs.c' => 'stream',
        'user_filters.c' => 'stream', 'fsock.c' => 'stream', 'dns.c' => 'network', 'net.c' => 'network',
        'url.c' => 'url', 'http.c' => 'url', 'base64.c' => 'url', 'exec.c' => 'exec',
        'proc_open.c' => 'exec', 'type.c' => 'var', 'var.c' => 'var', 'info.c' => 'info',
        'pageinfo.c' => 'info', 'versioning.c' => 'info', 'assert.c' => 'info',
        'password.c' => 'password', 'formatted_print.c' => 'string', 'image.c' => 'gd',
        'iptc.c' => 'gd', 'mail.c' => 'network', 'syslog.c' => 'network',
    ];

    /** @var array<string,string> function name => C file of its stub section */
    private array $sectionOf = [];

    public function __construct(string $sourceRoot)
    {
        $stub = $sourceRoot . '/ext/standard/basic_functions.stub.php';
        $section = null;
        foreach (file($stub) as $line) {
            if (preg_match('#^/\* ([a-z_0-9]+\.c) \*/#', $line, $m)) {
                $section = $m[1];
            } elseif ($section !== null && preg_match('/^function (\w+)\(/', $line, $m)) {
                $this->sectionOf[strtolower($m[1])] = $section;
            }
        }
    }

    /** The category key of an internal function of the given extension. */
    public function topicOf(string $function, string $extension): string
    {
        if ($extension !== 'standard' && $extension !== 'Core') {
            return $extension;
        }
        $name = strtolower($function);
        foreach (self::RULES as $pattern => $topic) {
            if (preg_match($pattern, $name)) {
                return $topic;
            }
        }
        $section = $this->sectionOf[$name] ?? null;
        return self::SECTIONS[$section] ?? 'misc';
    }
}
