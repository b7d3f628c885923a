<?php
// 简单路由：按请求方法和路径分发，支持 {id} 这样的参数
final class Router
{
    private array $routes = [];

    public function add(string $method, string $pattern, callable $handler): void
    {
        $regex = '#^' . preg_replace('#\{(\w+)\}#', '(?P<$1>[^/]+)', $pattern) . '$#';
        $this->routes[] = [strtoupper($method), $regex, $handler];
    }

    public function dispatch(string $method, string $uri): mixed
    {
        $path = rawurldecode(parse_url($uri, PHP_URL_PATH) ?: '/');
        $allowed = [];
        foreach ($this->routes as [$routeMethod, $regex, $handler]) {
            if (!preg_match($regex, $path, $m)) {
                continue;
            }
            if ($routeMethod !== strtoupper($method)) {
                $allowed[] = $routeMethod;
                continue;
            }
            return $handler(...array_filter($m, 'is_string', ARRAY_FILTER_USE_KEY));
        }
        http_response_code($allowed ? 405 : 404);
        return $allowed ? '不允许的请求方法' : '页面不存在';
    }
}

$router = new Router();
$router->add('GET', '/', fn() => '首页');
$router->add('GET', '/posts/{id}', fn(string $id) => '文章 ' . (int) $id);
echo $router->dispatch($_SERVER['REQUEST_METHOD'] ?? 'GET', $_SERVER['REQUEST_URI'] ?? '/');
